#pragma once

#include <cstdint>

#include "backends/web/widgetset/web_form_accessibility.h"
#include "ui/form.h"
#include "ui/input_router.h"
#include "ui/widgetset.h"

namespace ambrevo::web {

class WebWidgetset;

// Kinds of the page's input events (web/page_input.js).
// PointerCancel: the browser took the pointer away while a button was held.
// AccessibleFocus, AccessiblePress: assistive technology focused or pressed the element
// given as the code, of the generation given as x (WebFormAccessibility).
// Repaint: the page resized the canvas (the screen's density or the designer's zoom
// changed); its pixels are gone.
enum class EventKind {
    MouseDown = 1,
    MouseMove,
    MouseUp,
    Wheel,
    KeyDown,
    KeyPress,
    Close,
    KeyUp,
    PointerCancel,
    AccessibleFocus,
    AccessiblePress,
    Repaint
};

// Bits of an input event's modifiers.
constexpr int kShiftHeld = 1;
constexpr int kControlHeld = 2;
constexpr int kAltHeld = 4;
constexpr int kKeyRepeated = 8;  // the key was held down already

// One form: a canvas in the page, repainted whole when the form or a control changed, and
// the input the page reports for it, handed to the form's input router. Push buttons are
// drawn on the canvas, so the router routes their mouse and keys too. What the form paints
// is also told to the browser's accessibility tree, through a layer over the canvas.
class WebForm : public ui::FormPeer, private ui::InputSurface {
public:
    WebForm(WebWidgetset& widgets, ui::Form& form);
    ~WebForm() override;

    int Id() const { return id_; }
    ui::Form& Model() { return form_; }
    void PaintIfDirty();
    // x, y in the form's client area; code: the mouse button, wheel notches, key or character;
    // modifiers: the bits above.
    void Deliver(EventKind kind, int x, int y, int code, int modifiers);

    // ui::FormPeer
    void CaptionChanged() override;
    void BoundsChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override { dirty_ = true; }
    void RegionChanged() override { dirty_ = true; }
    void ControlAdded(ui::Control&) override { dirty_ = true; }
    void ControlRemoved(ui::Control& control) override;
    void ControlChanged(ui::Control&, ui::ControlChange, const ui::Rect&) override {
        dirty_ = true;
    }
    void ZOrderChanged(ui::Control&) override { dirty_ = true; }
    void FocusControl(ui::Button& button) override;
    void FocusForm() override;
    void RedrawNow() override { PaintIfDirty(); }
    void AccessibilityEvent(ui::AccessibleEvent event, int element) override {
        accessibility_.Notify(event, element);
    }
    // The page's device pixels to a menu pixel as pixels per inch, rounded: at ratio 2 (or
    // the designer's 200 %) the menu shows the pictures drawn for twice the density.
    int Dpi() const override;

private:
    void Paint();
    void PaintControl(const ui::Control& control);
    void PaintPicture(const ui::Picture& picture);
    void PaintShape();
    void ShowCursorOf(const ui::Control* control);
    // ui::InputSurface: the page captures the pointer itself.
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    bool OnForm(ui::Point at) const override;
    void ShowMenu(const ui::PopupMenu& menu, ui::Point at) override;

    WebWidgetset& widgets_;
    ui::Form& form_;
    int id_ = 0;
    bool dirty_ = true;
    int cursor_ = -1;
    ui::InputRouter router_;
    WebFormAccessibility accessibility_{id_, form_};
    int dpi_;  // of the last paint's canvas: another one is told to the form
};

}  // namespace ambrevo::web
