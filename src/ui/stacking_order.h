#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "ui/control.h"

namespace ambrevo::ui {

class Form;

// The order in which controls lie on their form, back to front, given their kinds in the
// form's z-order: push buttons lie above all the other controls, as native windows lie
// above their window's own drawing; within each of the two groups the z-order holds.
// Returns indexes into kinds. The authoring tool stacks a menu's items by it too.
std::vector<std::size_t> StackingOrder(std::span<const ControlKind> kinds);

// The form's controls, back to front, by StackingOrder.
std::vector<Control*> ControlsBackToFront(const Form& form);

}  // namespace ambrevo::ui
