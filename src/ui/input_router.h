#pragma once

#include <cstdint>
#include <vector>

#include "ui/control.h"
#include "graphics/geometry.h"

namespace ambrevo::ui {

class Button;
class Form;
class PopupMenu;

// Virtual key codes the router acts on, as Windows numbers them (the page uses the same).
constexpr int kKeyTab = 9;
constexpr int kKeyEnter = 13;
constexpr int kKeySpace = 32;
constexpr int kKeyContextMenu = 93;
constexpr int kKeyF10 = 121;

// Modifier keys held with a key.
struct KeyModifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// What a widgetset does natively for a form's router.
class InputSurface {
public:
    virtual ~InputSurface() = default;
    // The widgetset's own mouse capture for the form, where it has one: while a button is
    // held, the form gets the mouse wherever the pointer is.
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    // True when the client position lies on the form (inside its client area and outline).
    virtual bool OnForm(Point at) const = 0;
    // Shows the menu at the client position and returns once an entry is chosen (which the
    // surface passes to the menu) or the menu is dismissed.
    virtual void ShowMenu(const PopupMenu& menu, Point at) = 0;
};

// Decides which control of one form gets the user's input, for every widgetset alike:
// - the mouse goes to the topmost visible control under the pointer; the control that got
//   a button down captures it (moves and releases go to it wherever the pointer is, until
//   no button is held), and a left press and release on the same control, released over
//   it, clicks it after its release handler;
// - the right button's release opens the context menu of the control under the pointer,
//   else the form's; Shift+F10 when pressed (without Control or Alt) and the context-menu
//   key when released open the focused button's, else the form's; both keys are taken
//   whole, so that neither a button nor the system acts on them as well;
// - Tab and Shift+Tab move the focus among the visible, enabled tab-stop buttons in
//   creation order, whatever the z-order, wrapping at the ends;
// - a typed character that is the access key of a visible, enabled button focuses and
//   clicks the first such button in creation order;
// - other keys and characters reach the focused button, characters only when ASCII; Space
//   clicks it when released, as a push button does, and Enter does not click it.
// Where push buttons are native windows that take their own mouse and keys (Windows), the
// router leaves buttons out of the mouse routing and the widgetset uses only its tab order,
// access keys, menu keys and the buttons' characters.
//
// Events are dispatched through the form's application, last: a handler may destroy the
// form, so a caller must not use the router or the form after an event method returns.
class InputRouter {
public:
    enum class ButtonInput { Native, Routed };

    InputRouter(Form& form, InputSurface& surface, ButtonInput buttons)
        : form_(form), surface_(surface), buttons_(buttons) {}

    // Mouse, at client positions. held: the button held during a move.
    void MouseDown(MouseButton button, Point at);
    void MouseMove(MouseButton held, Point at);
    // stillHeld: another button is still down after this release, so the capture stays.
    void MouseUp(MouseButton button, Point at, bool stillHeld);
    // The surface's capture went elsewhere: the press is over without a release.
    void CaptureLost();
    // The control leaves the form: no event may reach it any more.
    void Forget(const Control& control);

    // The topmost visible control at the client position that the router routes the
    // mouse to; null when none.
    Control* HitTest(Point at) const;
    // The control that has the mouse captured, or null.
    Control* Captured() const { return captured_; }
    // The control the mouse goes to at this position: the captured one, else the one there.
    Control* MouseTarget(Point at) const;
    // True while the control is held down by the left button (a push button drawn pushed).
    bool Pushed(const Control& control) const;

    // The context menu asked for from the keyboard: the focused button's menu below it, else
    // the form's at the client area's corner.
    void KeyboardMenu();
    // A key pressed or released that may open the keyboard's context menu (Shift+F10, the
    // context-menu key); true when the key is taken, opened or not.
    bool ContextMenuKey(int key, bool pressed, KeyModifiers modifiers);

    // The tab order: visible, enabled tab-stop buttons by creation index.
    std::vector<Button*> TabOrder() const;
    // Moves the focus on by Tab; false (not taken) with Control or Alt held.
    bool Tab(KeyModifiers modifiers);
    // The visible, enabled button whose access key is the character, first in creation
    // order; null when none. Control characters and Space are no access keys.
    Button* ButtonWithAccessKey(std::uint32_t character) const;
    // Focuses and clicks the button of the access key; false when no button has it.
    bool AccessKey(std::uint32_t character);

    // Keys where the router delivers them to buttons (ButtonInput::Routed). repeat: the key
    // was held down already.
    void KeyDown(int key, KeyModifiers modifiers, bool repeat);
    void KeyUp(int key);
    // character: a Unicode code point, an access key or else the focused button's.
    void Character(std::uint32_t character);
    // A character typed on the button: its key press when ASCII, else nothing, so that no
    // other character is cut to a byte that reads as a digit or a letter.
    void KeyPress(Button& button, std::uint32_t character);

private:
    bool Routes(const Control& control) const;
    PopupMenu* MenuAt(Point at) const;
    template <typename F>
    void Dispatch(F&& event);

    Form& form_;
    InputSurface& surface_;
    ButtonInput buttons_;
    Control* captured_ = nullptr;  // got a button down; gets the mouse until released
    Control* pressed_ = nullptr;   // got the left button down: may get a click
    Control* clicked_ = nullptr;   // released over it: clicked after its release handler
    Button* spaced_ = nullptr;     // got Space down: clicked when it comes up
};

}  // namespace ambrevo::ui
