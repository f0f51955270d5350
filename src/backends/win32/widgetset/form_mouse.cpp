#include "backends/win32/widgetset/form_mouse.h"

#include "backends/win32/system/unique_handle.h"
#include "backends/win32/system/wide_text.h"
#include "backends/win32/widgetset/mouse_input.h"
#include "ui/popup_menu.h"

namespace ambrevo::win32 {
namespace {

constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

}  // namespace

ui::Point FormMouse::ClientPoint(LPARAM position) const {
    const POINT at = PointOf(position);
    return scale_.ToMenu(ui::Point{at.x, at.y});
}

void FormMouse::ButtonDown(UINT message, LPARAM position) {
    router_.MouseDown(ButtonOfMessage(message), ClientPoint(position));
}

void FormMouse::Move(WPARAM keys, LPARAM position) {
    // While the mouse is captured the system asks for no cursor: keep the captured one.
    if (const ui::Control* captured = router_.Captured()) {
        ::SetCursor(CursorOf(captured->GetCursor()));
    }
    router_.MouseMove(ButtonOfKeys(keys), ClientPoint(position));
}

void FormMouse::ButtonUp(UINT message, WPARAM keys, LPARAM position) {
    router_.MouseUp(ButtonOfMessage(message), ClientPoint(position), (keys & kAnyButton) != 0);
}

void FormMouse::SetCursorForPointer() const {
    const ui::Control* control = router_.Captured() ? router_.Captured() : UnderPointer();
    ::SetCursor(CursorOf(control ? control->GetCursor() : ui::Cursor::Default));
}

void FormMouse::CursorChanged(const ui::Control& control) const {
    const ui::Control* shown = router_.Captured() ? router_.Captured() : UnderPointer();
    if (shown == &control) ::SetCursor(CursorOf(control.GetCursor()));
}

ui::Control* FormMouse::UnderPointer() const {
    // A hidden window is under no pointer; the test spares a menu being built two calls.
    if (!::IsWindowVisible(window_)) return nullptr;
    POINT at{};
    if (!::GetCursorPos(&at) || ::WindowFromPoint(at) != window_) return nullptr;
    ::ScreenToClient(window_, &at);
    return router_.HitTest(scale_.ToMenu(ui::Point{at.x, at.y}));
}

void FormMouse::ReleaseMouse() {
    if (::GetCapture() == window_) ::ReleaseCapture();
}

// The window's region clips what reaches it; the client area is all the router asks about.
bool FormMouse::OnForm(ui::Point at) const {
    RECT client{};
    ::GetClientRect(window_, &client);
    const ui::Point device = scale_.ToDevice(at);
    return ::PtInRect(&client, POINT{device.x, device.y}) != FALSE;
}

void FormMouse::ShowMenu(const ui::PopupMenu& menu, ui::Point at) {
    const auto& entries = menu.Entries();
    if (entries.empty()) return;
    UniqueMenu popup(::CreatePopupMenu());
    if (!popup) return;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        ::AppendMenuW(popup.Get(), MF_STRING, i + 1, Widen(entries[i].caption).c_str());
    }
    const ui::Point device = scale_.ToDevice(at);
    POINT screen{device.x, device.y};
    ::ClientToScreen(window_, &screen);
    const int chosen = ::TrackPopupMenu(popup.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                        screen.x, screen.y, 0, window_, nullptr);
    if (chosen > 0) menu.Choose(static_cast<std::size_t>(chosen - 1));
}

}  // namespace ambrevo::win32
