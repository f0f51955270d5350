#pragma once

#include <string>

#include "graphics/geometry.h"

namespace ambrevo::ui {

// What a screen reader is told an element is.
enum class AccessibleRole { PushButton, StaticText };

// One element that a form paints itself, as assistive technology sees it.
struct AccessibleElement {
    std::string name;
    AccessibleRole role = AccessibleRole::StaticText;
    bool focusable = false;
    bool focused = false;
    bool hot = false;          // under the pointer
    bool unavailable = false;  // cannot act now
    std::string shortcut;      // "Alt+R", "3", or empty
    std::string description;
    std::string defaultAction;  // empty when the element does nothing
    Rect bounds;                // in the form's client area
    bool operator==(const AccessibleElement&) const = default;
};

// What changed for assistive technology.
enum class AccessibleEvent {
    FocusMoved,        // the focused element is now the one given
    ElementsReplaced,  // new elements and a new name (another menu)
};

// The elements of a form for assistive technology, numbered 1..Count() in tab order. A
// widgetset turns them into its platform's accessibility objects.
class AccessibleElements {
public:
    virtual ~AccessibleElements() = default;
    // The form's own name.
    virtual std::string Name() const = 0;
    virtual int Count() const = 0;
    // element is 1..Count().
    virtual AccessibleElement Element(int element) const = 0;
    // The focused element, 0 when none.
    virtual int Focused() const = 0;
    // Gives the element the keyboard focus; a number that is no element changes nothing.
    virtual void Focus(int element) = 0;
    // Does what the element's default action says, as the keyboard does it.
    virtual void Press(int element) = 0;
};

// The topmost element whose bounds hold the point (the last in tab order, which lies on
// top); 0 when none does.
inline int AccessibleElementAt(const AccessibleElements& elements, Point point) {
    for (int element = elements.Count(); element >= 1; --element) {
        if (elements.Element(element).bounds.Contains(point.x, point.y)) return element;
    }
    return 0;
}

}  // namespace ambrevo::ui
