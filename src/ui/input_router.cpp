#include "ui/input_router.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "ui/stacking_order.h"

namespace ambrevo::ui {
namespace {

MouseEvent EventAt(const Control& control, MouseButton button, Point at) {
    return {button, at.x - control.Bounds().left, at.y - control.Bounds().top};
}

bool IsButton(const Control& control) { return control.Kind() == ControlKind::Button; }

bool InForm(const Form& form, const Control& control) {
    return form.FindControl(control.Name()) == &control;
}

}  // namespace

template <typename F>
void InputRouter::Dispatch(F&& event) {
    form_.App().Dispatch(std::forward<F>(event));
}

// A disabled button takes no input, but still covers what lies below it.
bool InputRouter::Routes(const Control& control) const {
    if (!IsButton(control)) return true;
    return buttons_ == ButtonInput::Routed && static_cast<const Button&>(control).Enabled();
}

// Native push buttons take their own mouse: the pointer over one never reaches the form.
Control* InputRouter::HitTest(Point at) const {
    const std::vector<Control*> stacked = ControlsBackToFront(form_);
    for (auto control = stacked.rbegin(); control != stacked.rend(); ++control) {
        if (buttons_ == ButtonInput::Native && IsButton(**control)) continue;
        if ((*control)->Visible() && (*control)->Bounds().Contains(at.x, at.y)) return *control;
    }
    return nullptr;
}

Control* InputRouter::MouseTarget(Point at) const {
    if (captured_) return captured_;
    return surface_.OnForm(at) ? HitTest(at) : nullptr;
}

bool InputRouter::Pushed(const Control& control) const {
    return pressed_ == &control && captured_ == &control;
}

void InputRouter::MouseDown(MouseButton button, Point at) {
    Control* target = MouseTarget(at);
    if (!target || !Routes(*target)) return;
    if (!captured_) {
        captured_ = target;
        surface_.CaptureMouse();
    }
    if (button == MouseButton::Left) pressed_ = target;
    Dispatch([&] {
        // A routed push button takes the focus from the left button, as a native one does.
        if (IsButton(*target) && button == MouseButton::Left) {
            static_cast<Button*>(target)->SetFocus();
            if (captured_ != target) return;  // its focus handler took it away
        }
        target->MouseDown(EventAt(*target, button, at));
    });
}

void InputRouter::MouseMove(MouseButton held, Point at) {
    Control* target = MouseTarget(at);
    if (!target || !Routes(*target)) return;
    Dispatch([&] { target->MouseMove(EventAt(*target, held, at)); });
}

void InputRouter::MouseUp(MouseButton button, Point at, bool stillHeld) {
    Control* target = MouseTarget(at);
    if (target && !Routes(*target)) target = nullptr;
    const bool left = button == MouseButton::Left;
    const bool click =
        left && target && target == pressed_ && target->Bounds().Contains(at.x, at.y);
    if (left) pressed_ = nullptr;
    if (!stillHeld && captured_) {
        captured_ = nullptr;
        surface_.ReleaseMouse();
    }
    PopupMenu* menu = button == MouseButton::Right ? MenuAt(at) : nullptr;
    if (!target && !menu) return;
    // Forget clears clicked_ when the release handler removes the control from the form.
    clicked_ = click ? target : nullptr;
    Dispatch([&] {
        if (target) target->MouseUp(EventAt(*target, button, at));
        if (clicked_ && clicked_ == target) {
            clicked_ = nullptr;
            target->Click();
        }
        if (menu) surface_.ShowMenu(*menu, at);
    });
}

void InputRouter::CaptureLost() {
    captured_ = nullptr;
    pressed_ = nullptr;
}

void InputRouter::Forget(const Control& control) {
    if (pressed_ == &control) pressed_ = nullptr;
    if (clicked_ == &control) clicked_ = nullptr;
    if (spaced_ == &control) spaced_ = nullptr;
    if (captured_ == &control) {
        captured_ = nullptr;
        surface_.ReleaseMouse();
    }
}

PopupMenu* InputRouter::MenuAt(Point at) const {
    if (!surface_.OnForm(at)) return nullptr;
    const Control* control = HitTest(at);
    if (control && control->ContextMenu()) return control->ContextMenu();
    return form_.ContextMenu();
}

// Below the focused button when that lies on the form (a key proxy lies outside it).
void InputRouter::KeyboardMenu() {
    Button* focused = form_.FocusedButton();
    PopupMenu* menu =
        focused && focused->ContextMenu() ? focused->ContextMenu() : form_.ContextMenu();
    if (!menu) return;
    Point at{0, 0};
    if (focused) {
        const Rect& bounds = focused->Bounds();
        if (surface_.OnForm({bounds.left, bounds.top})) {
            at = {bounds.left, bounds.top + bounds.height};
        }
    }
    Dispatch([&] { surface_.ShowMenu(*menu, at); });
}

bool InputRouter::ContextMenuKey(int key, bool pressed, KeyModifiers modifiers) {
    bool open = false;
    if (key == kKeyContextMenu) {
        open = !pressed;
    } else if (key == kKeyF10 && pressed && modifiers.shift && !modifiers.control &&
               !modifiers.alt) {
        open = true;
    } else {
        return false;
    }
    if (open) KeyboardMenu();
    return true;
}

std::vector<Button*> InputRouter::TabOrder() const {
    std::vector<Button*> order;
    for (const auto& control : form_.Controls()) {
        if (!IsButton(*control)) continue;
        auto& button = static_cast<Button&>(*control);
        if (button.Visible() && button.Enabled() && button.TabStop()) order.push_back(&button);
    }
    std::sort(order.begin(), order.end(), [](const Button* a, const Button* b) {
        return a->CreationIndex() < b->CreationIndex();
    });
    return order;
}

bool InputRouter::Tab(KeyModifiers modifiers) {
    if (modifiers.control || modifiers.alt) return false;
    const std::vector<Button*> order = TabOrder();
    if (order.empty()) return true;
    const auto current = std::find(order.begin(), order.end(), form_.FocusedButton());
    std::size_t next = modifiers.shift ? order.size() - 1 : 0;
    if (current != order.end()) {
        const auto at = static_cast<std::size_t>(current - order.begin());
        next = modifiers.shift ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
    }
    order[next]->SetFocus();  // the widgetset fires the button's focus handler
    return true;
}

Button* InputRouter::ButtonWithAccessKey(std::uint32_t character) const {
    if (character <= ' ') return nullptr;
    const std::uint32_t letter = UpperCaseLetter(character);
    Button* first = nullptr;
    for (const auto& control : form_.Controls()) {
        if (!IsButton(*control)) continue;
        auto& button = static_cast<Button&>(*control);
        if (!button.Visible() || !button.Enabled() || MnemonicOf(button.Caption()) != letter) {
            continue;
        }
        if (!first || button.CreationIndex() < first->CreationIndex()) first = &button;
    }
    return first;
}

bool InputRouter::AccessKey(std::uint32_t character) {
    Button* button = ButtonWithAccessKey(character);
    if (!button) return false;
    Dispatch([&] {
        // As a mouse click would, the key first gives the button the focus; its focus
        // handler may remove it, and then nothing is clicked.
        button->SetFocus();
        if (InForm(form_, *button)) button->Click();
    });
    return true;
}

void InputRouter::KeyDown(int key, KeyModifiers modifiers, bool repeat) {
    if (ContextMenuKey(key, true, modifiers)) return;
    if (key == kKeyTab && Tab(modifiers)) return;
    Button* focused = form_.FocusedButton();
    if (!focused) return;
    if (key == kKeySpace && !repeat) spaced_ = focused;
    Dispatch([&] { focused->KeyDown(key); });
}

void InputRouter::KeyUp(int key) {
    if (ContextMenuKey(key, false, {})) return;
    if (key != kKeySpace || !spaced_) return;
    Button* button = spaced_;
    spaced_ = nullptr;
    if (form_.FocusedButton() != button || !button->Enabled()) return;
    Dispatch([&] { button->Click(); });
}

void InputRouter::Character(std::uint32_t character) {
    if (AccessKey(character)) return;
    if (Button* focused = form_.FocusedButton()) KeyPress(*focused, character);
}

// The model's key handlers take 8-bit characters.
void InputRouter::KeyPress(Button& button, std::uint32_t character) {
    if (character >= 0x80) return;
    Dispatch([&] { button.KeyPress(static_cast<char>(character)); });
}

}  // namespace ambrevo::ui
