#pragma once

#include <windows.h>

#include <memory>

#include "backends/win32/system/unique_handle.h"
#include "backends/win32/widgetset/font_cache.h"
#include "ui/control.h"

namespace ambrevo::win32 {

// A ui::Button shown as a native push button, a child of its form's window. The window is
// subclassed so that focus, keys, characters and mouse moves reach the model; the form
// turns its BN_CLICKED notification into Click. While the form's window is hidden, the
// model's changes wait and are applied once each, last state only, when the form asks:
// a menu sets its buttons up field by field before it is first shown.
class NativeButton {
public:
    // Creates the window; throws AppError when it cannot.
    NativeButton(HWND parent, ui::Button& button, FontCache& fonts);
    ~NativeButton();
    NativeButton(const NativeButton&) = delete;
    NativeButton& operator=(const NativeButton&) = delete;

    HWND Handle() const { return window_.Get(); }
    ui::Button& Model() const { return button_; }
    bool Focusable() const;

    // Brings the window in step with a change of the model, or keeps the change for
    // ApplyPendingChanges while the form's window is hidden.
    void Update(ui::ControlChange change);
    // Brings the window in step with the changes kept while the form's window was hidden.
    void ApplyPendingChanges();
    // Follows the model's z-order: all the way to the front or to the back.
    void ApplyZOrder(bool front);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Apply(ui::ControlChange change);

    ui::Button& button_;
    FontCache& fonts_;
    UniqueWindow window_;
    WNDPROC original_ = nullptr;
    unsigned pending_ = 0;  // one bit per ui::ControlChange
    // False once this object is destroyed; handlers still running hold a copy.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ambrevo::win32
