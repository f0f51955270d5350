#pragma once

#include <memory>
#include <string>

#include "ui/accessible.h"
#include "ui/control.h"
#include "ui/font.h"
#include "graphics/geometry.h"

namespace ambrevo::ui {

class Form;
class Timer;

// The widgetset's side of one form: told of every change of the form and its controls.
class FormPeer {
public:
    virtual ~FormPeer() = default;
    virtual void CaptionChanged() = 0;
    virtual void BoundsChanged() = 0;
    virtual void VisibleChanged() = 0;
    virtual void EnabledChanged() = 0;
    virtual void RegionChanged() = 0;
    virtual void ControlAdded(Control& control) = 0;
    // Before the control leaves the form.
    virtual void ControlRemoved(Control& control) = 0;
    // old is the control's bounds before the change (for repainting what it covered).
    virtual void ControlChanged(Control& control, ControlChange change, const Rect& old) = 0;
    virtual void ZOrderChanged(Control& control) = 0;
    virtual void FocusControl(Button& button) = 0;
    virtual void FocusForm() = 0;
    // Paints what is invalid now, instead of at the next idle moment.
    virtual void RedrawNow() = 0;
    // Tells assistive technology; element is the one concerned, 0 for none. A widgetset
    // without an accessibility layer ignores it.
    virtual void AccessibilityEvent(AccessibleEvent /*event*/, int /*element*/) {}
    // The pixels per inch of the screen the form shows on; 96 where a widgetset draws
    // at menu size.
    virtual int Dpi() const { return 96; }
};

// The widgetset's side of one timer.
class TimerPeer {
public:
    virtual ~TimerPeer() = default;
    // Starts counting milliseconds from now, replacing any earlier count.
    virtual void Start(int milliseconds) = 0;
    virtual void Stop() = 0;
};

// A realisation of the control model: the real windows, or a headless one for tests.
class Widgetset {
public:
    virtual ~Widgetset() = default;
    virtual std::unique_ptr<FormPeer> CreateFormPeer(Form& form) = 0;
    virtual std::unique_ptr<TimerPeer> CreateTimerPeer(Timer& timer) = 0;

    // Runs every waiting event (input, timer ticks, paints) and returns.
    virtual void ProcessMessages() = 0;
    // Runs events until Quit.
    virtual void RunMessageLoop() = 0;
    virtual void Quit() = 0;

    virtual void SetApplicationTitle(const std::string& title) = 0;
    virtual void MinimizeApplication() = 0;
    virtual void RestoreApplication() = 0;

    virtual Size ScreenSize() = 0;
    // The size of text on one line, or wrapped within maxWidth when it is above 0.
    virtual Size MeasureText(const Font& font, const std::string& text, int maxWidth) = 0;
    // The application's icon as a picture, for forms that show it; may be null.
    virtual std::shared_ptr<const Bitmap> ApplicationIconImage() = 0;
};

}  // namespace ambrevo::ui
