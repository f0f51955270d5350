#include "backends/win32/widgetset/form_mouse.h"

#include "backends/win32/system/unique_handle.h"
#include "backends/win32/system/wide_text.h"
#include "backends/win32/widgetset/mouse_input.h"
#include "ui/application.h"

namespace ambrevo::win32 {
namespace {

constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

ui::MouseEvent EventAt(const ui::Control& control, ui::MouseButton button, POINT at) {
    const ui::Rect& bounds = control.Bounds();
    return {button, at.x - bounds.left, at.y - bounds.top};
}

}  // namespace

ui::Control* FormMouse::HitTest(POINT at) const {
    const auto& controls = form_.Controls();
    for (auto control = controls.rbegin(); control != controls.rend(); ++control) {
        if ((*control)->Kind() == ui::ControlKind::Button || !(*control)->Visible()) continue;
        if ((*control)->Bounds().Contains(at.x, at.y)) return control->get();
    }
    return nullptr;
}

void FormMouse::ButtonDown(UINT message, LPARAM position) {
    const POINT at = PointOf(position);
    ui::Control* target = Target(at);
    if (!target) return;
    if (!captured_) {
        captured_ = target;
        ::SetCapture(window_);
    }
    if (message == WM_LBUTTONDOWN) pressed_ = target;
    Dispatch([&] { target->MouseDown(EventAt(*target, ButtonOfMessage(message), at)); });
}

void FormMouse::Move(WPARAM keys, LPARAM position) {
    const POINT at = PointOf(position);
    ui::Control* target = Target(at);
    // While the mouse is captured the system asks for no cursor: keep the captured one.
    if (captured_) ::SetCursor(CursorOf(captured_->GetCursor()));
    if (!target) return;
    Dispatch([&] { target->MouseMove(EventAt(*target, ButtonOfKeys(keys), at)); });
}

void FormMouse::ButtonUp(UINT message, WPARAM keys, LPARAM position) {
    const POINT at = PointOf(position);
    ui::Control* target = Target(at);
    const bool left = message == WM_LBUTTONUP;
    const bool click =
        left && target && target == pressed_ && target->Bounds().Contains(at.x, at.y);
    if (left) pressed_ = nullptr;
    if ((keys & kAnyButton) == 0 && captured_) {
        captured_ = nullptr;
        ::ReleaseCapture();
    }
    ui::PopupMenu* menu = message == WM_RBUTTONUP ? MenuAt(at) : nullptr;
    if (!target && !menu) return;
    // Forget clears clicked_ when the release handler removes the control from the form.
    clicked_ = click ? target : nullptr;
    Dispatch([&] {
        if (target) target->MouseUp(EventAt(*target, ButtonOfMessage(message), at));
        if (clicked_ && clicked_ == target) {
            clicked_ = nullptr;
            target->Click();
        }
        if (menu) ShowMenu(*menu, at);
    });
}

void FormMouse::SetCursorForPointer() const {
    const ui::Control* control = captured_ ? captured_ : UnderPointer();
    ::SetCursor(CursorOf(control ? control->GetCursor() : ui::Cursor::Default));
}

void FormMouse::CaptureLost() {
    captured_ = nullptr;
    pressed_ = nullptr;
}

void FormMouse::Forget(const ui::Control& control) {
    if (pressed_ == &control) pressed_ = nullptr;
    if (clicked_ == &control) clicked_ = nullptr;
    if (captured_ == &control) {
        captured_ = nullptr;
        if (::GetCapture() == window_) ::ReleaseCapture();
    }
}

void FormMouse::CursorChanged(const ui::Control& control) const {
    const ui::Control* shown = captured_ ? captured_ : UnderPointer();
    if (shown == &control) ::SetCursor(CursorOf(control.GetCursor()));
}

// The focused button's menu, else the form's; shown below the focused button when that lies
// in the client area (a key proxy lies outside it), else at the client area's corner.
void FormMouse::KeyboardMenu() const {
    ui::Button* focused = form_.FocusedButton();
    ui::PopupMenu* menu =
        focused && focused->ContextMenu() ? focused->ContextMenu() : form_.ContextMenu();
    if (!menu) return;
    RECT client{};
    ::GetClientRect(window_, &client);
    POINT at{0, 0};
    if (focused) {
        const ui::Rect& bounds = focused->Bounds();
        if (::PtInRect(&client, POINT{bounds.left, bounds.top})) {
            at = {bounds.left, bounds.top + bounds.height};
        }
    }
    form_.App().Dispatch([&] { ShowMenu(*menu, at); });
}

ui::Control* FormMouse::UnderPointer() const {
    // A hidden window is under no pointer; the test spares a menu being built two calls.
    if (!::IsWindowVisible(window_)) return nullptr;
    POINT at{};
    if (!::GetCursorPos(&at) || ::WindowFromPoint(at) != window_) return nullptr;
    ::ScreenToClient(window_, &at);
    return HitTest(at);
}

ui::PopupMenu* FormMouse::MenuAt(POINT at) const {
    RECT client{};
    ::GetClientRect(window_, &client);
    if (!::PtInRect(&client, at)) return nullptr;
    const ui::Control* control = HitTest(at);
    if (control && control->ContextMenu()) return control->ContextMenu();
    return form_.ContextMenu();
}

void FormMouse::ShowMenu(const ui::PopupMenu& menu, POINT at) const {
    const auto& entries = menu.Entries();
    if (entries.empty()) return;
    UniqueMenu popup(::CreatePopupMenu());
    if (!popup) return;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        ::AppendMenuW(popup.Get(), MF_STRING, i + 1, Widen(entries[i].caption).c_str());
    }
    ::ClientToScreen(window_, &at);
    const int chosen = ::TrackPopupMenu(popup.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                        at.x, at.y, 0, window_, nullptr);
    if (chosen > 0) menu.Choose(static_cast<std::size_t>(chosen - 1));
}

}  // namespace ambrevo::win32
