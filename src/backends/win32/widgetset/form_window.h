#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "backends/win32/system/unique_handle.h"
#include "backends/win32/widgetset/control_painter.h"
#include "backends/win32/widgetset/form_accessible.h"
#include "backends/win32/widgetset/form_mouse.h"
#include "backends/win32/widgetset/native_button.h"
#include "backends/win32/widgetset/widget_context.h"
#include "ui/application.h"
#include "graphics/display_scale.h"
#include "ui/form.h"
#include "ui/widgetset.h"

namespace ambrevo::win32 {

// A form shown as a top-level window. The window procedure only turns messages into the
// model's events (always through Application::Dispatch); the model's changes come back as
// FormPeer calls that invalidate what changed, move native buttons and set the region.
class FormWindow : public ui::FormPeer {
public:
    // Creates the window, hidden; throws AppError when it cannot.
    FormWindow(WidgetContext& context, ui::Form& form);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // The window procedure of the form window class.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND Handle() const { return window_.Get(); }
    ui::Form& Model() const { return form_; }
    void SetIcon(HICON icon);

    // The native button of a model button; null when it has none.
    NativeButton* ButtonOf(const ui::Control& control) const;
    NativeButton* ButtonOf(HWND window) const;
    // The window of the nearest button in front of control in the model's z-order whose
    // window is made; null when there is none.
    HWND MadeInFront(const ui::Control& control) const;
    // The form's input router, for the keyboard. It first applies the buttons' pending
    // changes, since what it decides goes to the keyboard focus.
    ui::InputRouter& Input();

    // ui::FormPeer
    void CaptionChanged() override;
    void BoundsChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void RegionChanged() override;
    void ControlAdded(ui::Control& control) override;
    void ControlRemoved(ui::Control& control) override;
    void ControlChanged(ui::Control& control, ui::ControlChange change,
                        const ui::Rect& old) override;
    void ZOrderChanged(ui::Control& control) override;
    void FocusControl(ui::Button& button) override;
    void FocusForm() override;
    void RedrawNow() override;
    void AccessibilityEvent(ui::AccessibleEvent event, int element) override;
    int Dpi() const override { return scale_.Dpi(); }

private:
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc, const RECT& area);
    void OnWheel(WPARAM wParam);
    bool RestoreFocus(WPARAM wParam);
    void OnPositionChanged();
    // Moves the window's top left to at (screen pixels), sized for the form at its scale.
    void PlaceWindow(ui::Point at);
    // The window moved to a screen of another DPI: take the size Windows suggests and draw
    // everything at the new scale.
    void OnDpiChanged(WPARAM dpi, const RECT& suggested);
    void OnAccessibleCommand(WPARAM command, LPARAM target);
    // Brings the visible native buttons in step with the changes kept while the window was
    // hidden.
    void ApplyPendingChanges();
    void Invalidate(const ui::Rect& bounds);
    template <typename F>
    void Dispatch(F&& handler) {
        form_.App().Dispatch(std::forward<F>(handler));
    }

    WidgetContext& context_;
    ui::Form& form_;
    DWORD style_;
    DWORD exStyle_;
    UniqueWindow window_;
    ui::DisplayScale scale_;  // the DPI of the window's screen
    FormMouse mouse_;
    ControlPainter painter_;
    std::map<const ui::Control*, std::unique_ptr<NativeButton>> buttons_;
    HWND lastFocus_ = nullptr;  // the button that had the focus when the window went inactive
    int wheelRest_ = 0;         // wheel movement short of a notch
    bool applyingBounds_ = false;
    bool ready_ = false;  // the model knows this peer: it may hear of moves
    std::unique_ptr<FormAccessibility> accessibility_;  // made with the window
};

}  // namespace ambrevo::win32
