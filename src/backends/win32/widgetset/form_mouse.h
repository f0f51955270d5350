#pragma once

#include <windows.h>

#include "ui/application.h"
#include "ui/form.h"

namespace ambrevo::win32 {

// The mouse over a form's windowless controls: finds the topmost visible label or picture
// under the pointer, captures the mouse for the control that got a button down (moves and
// the release go to it, wherever the pointer is), fires Click after a left press and
// release on the same control, shows context menus and sets the cursor.
//
// Each event method dispatches the model's handlers last; the caller must not use this
// object or its form window after it returns, since a handler may have destroyed them.
class FormMouse {
public:
    explicit FormMouse(ui::Form& form) : form_(form) {}
    // The form's window, as soon as it exists.
    void SetWindow(HWND window) { window_ = window; }

    void ButtonDown(UINT message, LPARAM position);
    void Move(WPARAM keys, LPARAM position);
    void ButtonUp(UINT message, WPARAM keys, LPARAM position);
    // WM_SETCURSOR over the client area.
    void SetCursorForPointer() const;
    // The capture went to another window: the press is over without a release.
    void CaptureLost();
    // The control leaves the form: no event may reach it any more.
    void Forget(const ui::Control& control);
    // The control's cursor property changed: show it now if the pointer is over it.
    void CursorChanged(const ui::Control& control) const;
    // The context menu asked for from the keyboard (WM_CONTEXTMENU without a position).
    void KeyboardMenu() const;

    // The topmost visible label or picture at the client position; null when none.
    ui::Control* HitTest(POINT at) const;

private:
    ui::Control* Target(POINT at) const { return captured_ ? captured_ : HitTest(at); }
    ui::Control* UnderPointer() const;
    ui::PopupMenu* MenuAt(POINT at) const;
    void ShowMenu(const ui::PopupMenu& menu, POINT at) const;
    template <typename F>
    void Dispatch(F&& handler) {
        form_.App().Dispatch(std::forward<F>(handler));
    }

    HWND window_ = nullptr;
    ui::Form& form_;
    ui::Control* captured_ = nullptr;  // got the button down; has the mouse capture
    ui::Control* pressed_ = nullptr;   // got the left button down: may get a click
    ui::Control* clicked_ = nullptr;   // released inside: clicked after its release handler
};

}  // namespace ambrevo::win32
