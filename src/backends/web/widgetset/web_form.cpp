#include "backends/web/widgetset/web_form.h"

#include <algorithm>

#include "backends/web/bridge/web_host.h"
#include "backends/web/widgetset/web_widgetset.h"
#include "ui/application.h"
#include "ui/font.h"
#include "ui/popup_menu.h"

namespace ambrevo::web {
namespace {

constexpr int kKeyTab = 9;
constexpr int kKeyEnter = 13;
constexpr int kKeySpace = 32;
constexpr int kShiftHeld = 1;

ui::MouseButton ButtonOf(int code) {
    switch (code) {
        case 1:
            return ui::MouseButton::Middle;
        case 2:
            return ui::MouseButton::Right;
        default:
            return ui::MouseButton::Left;
    }
}

ui::MouseEvent EventAt(const ui::Control& control, ui::MouseButton button, int x, int y) {
    return {button, x - control.Bounds().left, y - control.Bounds().top};
}

bool TakesInput(const ui::Control& control) {
    return control.Kind() != ui::ControlKind::Button ||
           static_cast<const ui::Button&>(control).Enabled();
}

}  // namespace

WebForm::WebForm(WebWidgetset& widgets, ui::Form& form)
    : widgets_(widgets), form_(form), id_(widgets.Register(*this)) {
    ambrevo_host_form_created(id_, static_cast<int>(form.Style()));
}

WebForm::~WebForm() {
    widgets_.Unregister(*this);
    ambrevo_host_form_destroyed(id_);
}

void WebForm::CaptionChanged() {
    const std::string& caption = form_.Caption();
    ambrevo_host_form_caption(id_, caption.data(), caption.size());
}

void WebForm::BoundsChanged() {
    const ui::Rect& bounds = form_.Bounds();
    ambrevo_host_form_bounds(id_, bounds.left, bounds.top, bounds.width, bounds.height);
    dirty_ = true;
}

void WebForm::VisibleChanged() {
    if (form_.Visible()) Paint();
    ambrevo_host_form_visible(id_, form_.Visible() ? 1 : 0);
}

void WebForm::ControlRemoved(ui::Control& control) {
    if (captured_ == &control) captured_ = nullptr;
    if (pressed_ == &control) pressed_ = nullptr;
    dirty_ = true;
}

void WebForm::FocusControl(ui::Button& button) {
    if (form_.FocusedButton() == &button) return;
    dirty_ = true;
    widgets_.App().Dispatch([&] { button.GotFocus(); });
}

void WebForm::FocusForm() {
    form_.FocusChanged(nullptr);
    dirty_ = true;
}

void WebForm::PaintIfDirty() {
    if (dirty_ && form_.Visible()) Paint();
}

// Pictures and labels in z-order, then the push buttons, which are windows of their own on
// Windows and so always lie above them.
void WebForm::Paint() {
    dirty_ = false;
    const ui::Rect& bounds = form_.Bounds();
    ambrevo_host_paint_begin(id_, bounds.width, bounds.height);
    for (const auto& control : form_.Controls()) {
        if (!control->Visible()) continue;
        const ui::Rect& at = control->Bounds();
        if (control->Kind() == ui::ControlKind::Picture) {
            const auto& image = static_cast<const ui::Picture&>(*control).Image();
            if (!image || image->Empty()) continue;
            ambrevo_host_paint_picture(id_, widgets_.BitmapId(image), at.left, at.top,
                                       std::min(at.width, image->width),
                                       std::min(at.height, image->height));
        } else if (control->Kind() == ui::ControlKind::Label) {
            const auto& label = static_cast<const ui::Label&>(*control);
            const ui::Font& font = label.Font();
            ambrevo_host_paint_label(id_, at.left, at.top, at.width, at.height,
                                     label.Caption().data(), label.Caption().size(),
                                     font.face.c_str(), font.size, FontStyleBits(font), font.color,
                                     static_cast<int>(label.Alignment()),
                                     (label.WordWrap() ? 1 : 0) | (label.Transparent() ? 2 : 0));
        }
    }
    for (const auto& control : form_.Controls()) {
        if (!control->Visible() || control->Kind() != ui::ControlKind::Button) continue;
        const auto& button = static_cast<const ui::Button&>(*control);
        const ui::Rect& at = button.Bounds();
        const ui::Font& font = button.Font();
        const int state = (button.Enabled() ? 1 : 0) | (button.Focused() ? 2 : 0) |
                          (pressed_ == control.get() && captured_ == control.get() ? 4 : 0);
        ambrevo_host_paint_button(id_, at.left, at.top, at.width, at.height,
                                  button.Caption().data(), button.Caption().size(),
                                  font.face.c_str(), font.size, FontStyleBits(font), state);
    }
    PaintShape();
    ambrevo_host_paint_end(id_);
}

// Outside the window's shape the canvas is transparent, as the desktop shows there.
void WebForm::PaintShape() {
    const auto& shape = form_.Shape();
    if (!shape) return;
    const ui::Rect& form = form_.Bounds();
    const ui::Rect& in = shape->bounds;
    ambrevo_host_paint_clear(id_, 0, 0, form.width, std::max(0, in.top));
    ambrevo_host_paint_clear(id_, 0, in.top + in.height, form.width, form.height);
    ambrevo_host_paint_clear(id_, 0, 0, std::max(0, in.left), form.height);
    ambrevo_host_paint_clear(id_, in.left + in.width, 0, form.width, form.height);
    for (const ui::Rect& cut : shape->cutouts) {
        ambrevo_host_paint_clear(id_, cut.left, cut.top, cut.width, cut.height);
    }
}

bool WebForm::InShape(int x, int y) const {
    const auto& shape = form_.Shape();
    if (!shape) return true;
    if (!shape->bounds.Contains(x, y)) return false;
    for (const ui::Rect& cut : shape->cutouts) {
        if (cut.Contains(x, y)) return false;
    }
    return true;
}

ui::Control* WebForm::HitTest(int x, int y) const {
    const auto& controls = form_.Controls();
    // Buttons lie above the rest, as they are painted.
    for (const bool buttons : {true, false}) {
        for (auto control = controls.rbegin(); control != controls.rend(); ++control) {
            if (((*control)->Kind() == ui::ControlKind::Button) != buttons) continue;
            if ((*control)->Visible() && (*control)->Bounds().Contains(x, y)) {
                return control->get();
            }
        }
    }
    return nullptr;
}

void WebForm::Deliver(EventKind kind, int x, int y, int code, int modifiers) {
    if (kind == EventKind::Close) {
        widgets_.App().Dispatch([&] { form_.CloseRequested(); });
        return;
    }
    if (!form_.Visible() || !form_.Enabled()) return;
    switch (kind) {
        case EventKind::MouseDown:
            return MouseDown(x, y, ButtonOf(code));
        case EventKind::MouseMove:
            return MouseMove(x, y);
        case EventKind::MouseUp:
            return MouseUp(x, y, ButtonOf(code));
        case EventKind::Wheel:
            widgets_.App().Dispatch([&] { form_.MouseWheel(code); });
            return;
        case EventKind::KeyDown:
            return KeyDown(code, modifiers);
        case EventKind::KeyPress:
            return KeyPress(static_cast<std::uint32_t>(code));
        case EventKind::Close:
            return;
    }
}

void WebForm::MouseDown(int x, int y, ui::MouseButton button) {
    ui::Control* target = captured_ ? captured_ : (InShape(x, y) ? HitTest(x, y) : nullptr);
    if (!target || !TakesInput(*target)) return;
    if (!captured_) captured_ = target;
    if (button == ui::MouseButton::Left) pressed_ = target;
    dirty_ = true;
    widgets_.App().Dispatch([&] {
        if (target->Kind() == ui::ControlKind::Button && button == ui::MouseButton::Left) {
            static_cast<ui::Button*>(target)->SetFocus();
        }
        if (captured_ == target) target->MouseDown(EventAt(*target, button, x, y));
    });
}

void WebForm::MouseMove(int x, int y) {
    ui::Control* target = captured_ ? captured_ : (InShape(x, y) ? HitTest(x, y) : nullptr);
    ShowCursorOf(target);
    if (!target || !TakesInput(*target)) return;
    widgets_.App().Dispatch(
        [&] { target->MouseMove(EventAt(*target, ui::MouseButton::Left, x, y)); });
}

void WebForm::MouseUp(int x, int y, ui::MouseButton button) {
    ui::Control* target = captured_ ? captured_ : (InShape(x, y) ? HitTest(x, y) : nullptr);
    const bool left = button == ui::MouseButton::Left;
    const bool click = left && target && target == pressed_ && target->Bounds().Contains(x, y);
    if (left) pressed_ = nullptr;
    captured_ = nullptr;
    dirty_ = true;
    ui::PopupMenu* menu = nullptr;
    if (button == ui::MouseButton::Right && InShape(x, y)) {
        const ui::Control* under = HitTest(x, y);
        menu = under && under->ContextMenu() ? under->ContextMenu() : form_.ContextMenu();
    }
    if ((!target || !TakesInput(*target)) && !menu) return;
    widgets_.App().Dispatch([&] {
        if (target) target->MouseUp(EventAt(*target, button, x, y));
        // The release handler may have removed the control from the form.
        if (click && form_.FindControl(target->Name()) == target) target->Click();
        if (menu) ShowMenu(*menu, x, y);
    });
}

void WebForm::ShowCursorOf(const ui::Control* control) {
    const int cursor = static_cast<int>(control ? control->GetCursor() : ui::Cursor::Default);
    if (cursor == cursor_) return;
    cursor_ = cursor;
    ambrevo_host_form_cursor(id_, cursor);
}

void WebForm::KeyDown(int key, int modifiers) {
    if (key == kKeyTab) return MoveFocus((modifiers & kShiftHeld) != 0);
    ui::Button* focused = form_.FocusedButton();
    if (!focused) return;
    widgets_.App().Dispatch([&] {
        focused->KeyDown(key);
        if ((key == kKeyEnter || key == kKeySpace) && form_.FocusedButton() == focused &&
            focused->Enabled()) {
            focused->Click();
        }
    });
}

void WebForm::KeyPress(std::uint32_t character) {
    ui::Button* focused = form_.FocusedButton();
    if (character > ' ') {
        // A mnemonic gives its button the focus and clicks it, as on Windows.
        for (const auto& control : form_.Controls()) {
            if (control->Kind() != ui::ControlKind::Button || !control->Visible()) continue;
            auto& button = static_cast<ui::Button&>(*control);
            if (!button.Enabled() ||
                ui::MnemonicOf(button.Caption()) != ui::UpperCaseLetter(character)) {
                continue;
            }
            widgets_.App().Dispatch([&] {
                button.SetFocus();
                if (form_.FindControl(button.Name()) == &button) button.Click();
            });
            return;
        }
    }
    // The core's key handlers take 8-bit characters: only ASCII reaches them, so that no
    // other character is cut to a byte that reads as a digit or a letter.
    if (!focused || character >= 0x80) return;
    widgets_.App().Dispatch([&] { focused->KeyPress(static_cast<char>(character)); });
}

void WebForm::MoveFocus(bool backwards) {
    std::vector<ui::Button*> order;
    for (const auto& control : form_.Controls()) {
        if (control->Kind() != ui::ControlKind::Button) continue;
        auto& button = static_cast<ui::Button&>(*control);
        if (button.Visible() && button.Enabled() && button.TabStop()) order.push_back(&button);
    }
    if (order.empty()) return;
    std::sort(order.begin(), order.end(), [](const ui::Button* a, const ui::Button* b) {
        return a->CreationIndex() < b->CreationIndex();
    });
    const auto current = std::find(order.begin(), order.end(), form_.FocusedButton());
    std::size_t next = backwards ? order.size() - 1 : 0;
    if (current != order.end()) {
        const std::size_t at = static_cast<std::size_t>(current - order.begin());
        next = backwards ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
    }
    FocusControl(*order[next]);
}

// Modal, as the Windows popup menu is: the call returns once an entry is chosen or the
// menu is dismissed.
void WebForm::ShowMenu(const ui::PopupMenu& menu, int x, int y) {
    const auto& entries = menu.Entries();
    if (entries.empty()) return;
    std::string captions;
    for (const auto& entry : entries) captions += (captions.empty() ? "" : "\n") + entry.caption;
    ambrevo_host_menu_show(id_, x, y, captions.data(), captions.size());
    int chosen = -2;
    while ((chosen = ambrevo_host_menu_choice()) == -2) YieldToBrowser(16);
    if (chosen >= 0) menu.Choose(static_cast<std::size_t>(chosen));
}

}  // namespace ambrevo::web
