#pragma once

#include <cstdint>

#include "ui/form.h"
#include "ui/widgetset.h"

namespace ambrevo::web {

class WebWidgetset;

// Kinds of the page's input events (web/page_input.js).
enum class EventKind { MouseDown = 1, MouseMove, MouseUp, Wheel, KeyDown, KeyPress, Close };

// One form: a canvas in the page, repainted whole when the form or a control changed, and
// the input the page reports for it, routed to controls as the Windows widgetset does
// (capture by the control that got the button down, click on release over it).
class WebForm : public ui::FormPeer {
public:
    WebForm(WebWidgetset& widgets, ui::Form& form);
    ~WebForm() override;

    int Id() const { return id_; }
    ui::Form& Model() { return form_; }
    void PaintIfDirty();
    // x, y in the form's client area; code: the mouse button, wheel notches, key or character.
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

private:
    void Paint();
    void PaintShape();
    bool InShape(int x, int y) const;
    ui::Control* HitTest(int x, int y) const;
    void MouseDown(int x, int y, ui::MouseButton button);
    void MouseMove(int x, int y);
    void MouseUp(int x, int y, ui::MouseButton button);
    void KeyDown(int key, int modifiers);
    // character: a Unicode code point.
    void KeyPress(std::uint32_t character);
    void MoveFocus(bool backwards);
    void ShowMenu(const ui::PopupMenu& menu, int x, int y);
    void ShowCursorOf(const ui::Control* control);

    WebWidgetset& widgets_;
    ui::Form& form_;
    int id_ = 0;
    bool dirty_ = true;
    ui::Control* captured_ = nullptr;  // got the button down, gets the moves until release
    ui::Control* pressed_ = nullptr;   // got the left button down: clicked if released over it
    int cursor_ = -1;
};

}  // namespace ambrevo::web
