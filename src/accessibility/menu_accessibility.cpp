#include "accessibility/menu_accessibility.h"

#include "actions/target_paths.h"
#include "support/utf8.h"
#include "ui/control.h"
#include "ui/font.h"

namespace ambrevo {
namespace {

constexpr char kPressAction[] = "Press";
// The target whose item only plays the no-action sound (see ActionDispatch::RunAction).
constexpr char kNoActionTarget[] = "*";
constexpr int kLastDigitItem = 8;

bool IsTextItem(const MenuItem& item) {
    return item.kind != static_cast<std::int32_t>(ItemKind::ImgBtn);
}

// The control that shows the item: where it lies and whether it takes input.
const ui::Control* ShownControl(const ItemControls& controls) {
    if (controls.picture && controls.picture->Visible()) return controls.picture;
    if (controls.label && controls.label->Visible()) return controls.label;
    if (controls.button && controls.button->Visible()) return controls.button;
    return nullptr;
}

// The control that takes the item's keyboard focus.
const ui::Control* FocusControl(const ItemControls& controls) {
    if (controls.keyProxy && controls.keyProxy->Visible()) return controls.keyProxy;
    if (controls.button && controls.button->Visible()) return controls.button;
    return nullptr;
}

std::string TargetName(const std::string& target) {
    if (target.empty() || target == kNoActionTarget || target.front() == '$') return {};
    if (IsWebTarget(target) || IsMailTarget(target)) return target;
    std::string path = target;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    return FileNamePart(path);
}

}  // namespace

std::string CaptionWithoutAccessKey(const std::string& caption) {
    std::string text;
    text.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 == caption.size()) break;
            ++i;
        }
        text += caption[i];
    }
    return text;
}

std::string AccessibleNameOf(const MenuItem& item, int n) {
    if (IsTextItem(item)) {
        std::string caption = CaptionWithoutAccessKey(item.caption);
        if (!caption.empty()) return caption;
    } else if (!item.name.empty()) {
        return item.name;
    }
    if (!item.description.empty()) return item.description;
    std::string target = TargetName(item.target);
    if (!target.empty()) return target;
    return "Item " + std::to_string(n);
}

std::string ShortcutOf(const MenuItem& item, int n) {
    // A push button carries its caption's access key; the key proxy of any other item
    // carries the item's shortcut key.
    const bool isButton = item.kind == static_cast<std::int32_t>(ItemKind::WinBtn);
    const std::uint32_t letter = ui::MnemonicOf(isButton ? item.caption : "&" + item.shortcutKey);
    if (letter != 0) {
        std::string shortcut = "Alt+";
        AppendUtf8(shortcut, letter);
        return shortcut;
    }
    if (n >= 1 && n <= kLastDigitItem) return std::to_string(n);
    return {};
}

MenuAccessibility::MenuAccessibility(TfrmMenuCls& window) : window_(window) {
    window_.Form().SetAccessible(this);
}

MenuAccessibility::~MenuAccessibility() { window_.Form().SetAccessible(nullptr); }

std::string MenuAccessibility::Name() const { return window_.Definition().title; }

int MenuAccessibility::Count() const { return window_.ItemCount(); }

ui::AccessibleElement MenuAccessibility::Element(int element) const {
    const MenuItem* item = window_.ItemAt(element);
    if (item == nullptr) return {};
    const ItemControls& controls = window_.ControlsOf(element);
    const ui::Control* shown = ShownControl(controls);
    const ui::Control* focus = FocusControl(controls);
    const bool acts = item->target != kNoActionTarget;

    ui::AccessibleElement result;
    result.name = AccessibleNameOf(*item, element);
    result.role = acts ? ui::AccessibleRole::PushButton : ui::AccessibleRole::StaticText;
    result.focusable = focus != nullptr;
    result.focused = element == Focused();
    result.hot = element == window_.HighlightedItem();
    result.unavailable = !acts || !window_.Form().Enabled();
    result.shortcut = ShortcutOf(*item, element);
    result.description = item->description;
    if (acts) result.defaultAction = kPressAction;
    if (shown) result.bounds = shown->Bounds();
    return result;
}

int MenuAccessibility::Focused() const { return window_.AnnouncedItem(); }

void MenuAccessibility::Focus(int element) { window_.FocusItem(element); }

void MenuAccessibility::Press(int element) {
    if (Element(element).unavailable) return;
    window_.PressItem(element);
}

}  // namespace ambrevo
