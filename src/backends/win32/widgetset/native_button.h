#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "backends/win32/system/unique_handle.h"
#include "backends/win32/widgetset/font_cache.h"
#include "ui/control.h"
#include "ui/input_router.h"

namespace ambrevo::win32 {

// A ui::Button shown as a native push button, a child of its form's window. The window is
// subclassed so that focus, keys and mouse moves reach the model, and characters the form's
// input router; the form turns its BN_CLICKED notification into Click. While the form's window is
// hidden, the model's changes wait and are applied once each, last state only, when the form asks:
// a menu sets its buttons up field by field before it is first shown.
//
// The window is made only once something needs it: the button shows within the form's
// window, takes the focus or is handed out. A menu's hidden buttons and its off-screen
// focus carriers then cost nothing before the menu is on screen (under Wine each window
// costs a round of its server); a window made late is made in the model's state and
// placed in the model's z-order.
class NativeButton {
public:
    // The window of the button in front of a given one in the model's z-order, nearest
    // first, among those made; null when there is none.
    using MadeInFront = std::function<HWND(const ui::Button&)>;

    // Makes the window now when the button shows within the form's window; throws
    // AppError when a window cannot be made, now or later.
    // scale is the form window's, which outlives the button; after it changes, the button
    // is told of a font and a bounds change.
    NativeButton(HWND parent, ui::Button& button, ui::InputRouter& router, FontCache& fonts,
                 const ui::DisplayScale& scale, MadeInFront madeInFront);
    ~NativeButton();
    NativeButton(const NativeButton&) = delete;
    NativeButton& operator=(const NativeButton&) = delete;

    // The window if made, else null.
    HWND Handle() const { return window_.Get(); }
    // The window in the model's state, made now if need be.
    HWND Window();
    ui::Button& Model() const { return button_; }

    // Brings the window in step with a change of the model, or keeps the change for
    // ApplyPendingChanges while the form's window is hidden.
    void Update(ui::ControlChange change);
    // Brings the window in step with the changes kept while the form's window was hidden,
    // making it when the button shows within the form's window.
    void ApplyPendingChanges();
    // Follows the model's z-order: all the way to the front or to the back.
    void ApplyZOrder(bool front);

private:
    bool ShowsInForm() const;  // visible, and within the form's client area
    void Make();
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Apply(ui::ControlChange change);

    const HWND parent_;
    ui::Button& button_;
    ui::InputRouter& router_;
    FontCache& fonts_;
    const ui::DisplayScale& scale_;
    const MadeInFront madeInFront_;
    UniqueWindow window_;
    WNDPROC original_ = nullptr;
    unsigned pending_ = 0;  // one bit per ui::ControlChange
    // False once this object is destroyed; handlers still running hold a copy.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ambrevo::win32
