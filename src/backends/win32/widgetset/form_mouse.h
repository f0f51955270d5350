#pragma once

#include <windows.h>

#include "graphics/display_scale.h"
#include "ui/form.h"
#include "ui/input_router.h"

namespace ambrevo::win32 {

// The mouse over a form's windowless controls: turns the window's mouse messages into
// calls to the form's input router (which picks the control, captures, clicks and opens
// context menus), and gives the router the window's capture, client area, popup menus and
// cursor. Push buttons are native windows that take their own mouse. The window's device
// pixels reach the router as menu coordinates by the form window's scale.
//
// Each event method dispatches the model's handlers last; the caller must not use this
// object or its form window after it returns, since a handler may have destroyed them.
class FormMouse : private ui::InputSurface {
public:
    // scale is the form window's, which outlives this object.
    FormMouse(ui::Form& form, const ui::DisplayScale& scale)
        : scale_(scale), router_(form, *this, ui::InputRouter::ButtonInput::Native) {}
    // The form's window, as soon as it exists.
    void SetWindow(HWND window) { window_ = window; }
    // The form's router, which the keyboard shares.
    ui::InputRouter& Router() { return router_; }

    void ButtonDown(UINT message, LPARAM position);
    void Move(WPARAM keys, LPARAM position);
    void ButtonUp(UINT message, WPARAM keys, LPARAM position);
    // WM_SETCURSOR over the client area.
    void SetCursorForPointer() const;
    // The capture went to another window: the press is over without a release.
    void CaptureLost() { router_.CaptureLost(); }
    // The control leaves the form: no event may reach it any more.
    void Forget(const ui::Control& control) { router_.Forget(control); }
    // The control's cursor property changed: show it now if the pointer is over it.
    void CursorChanged(const ui::Control& control) const;
    // The context menu asked for from the keyboard (WM_CONTEXTMENU without a position).
    void KeyboardMenu() { router_.KeyboardMenu(); }

private:
    ui::Control* UnderPointer() const;
    ui::Point ClientPoint(LPARAM position) const;
    // ui::InputSurface
    void CaptureMouse() override { ::SetCapture(window_); }
    void ReleaseMouse() override;
    bool OnForm(ui::Point at) const override;
    void ShowMenu(const ui::PopupMenu& menu, ui::Point at) override;

    HWND window_ = nullptr;
    const ui::DisplayScale& scale_;
    ui::InputRouter router_;
};

}  // namespace ambrevo::win32
