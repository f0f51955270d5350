#pragma once

#include <cstdint>

#include "graphics/geometry.h"

namespace ambrevo {

// Where a window of this size sits on the screen for a menu's placement value: 1-4 the
// corners, 5-8 the centres of the screen's quarters, 9 and 10 left of centre, anything
// else the centre. Not yet pulled onto the screen.
ui::Rect PlacementBounds(std::int32_t placement, ui::Size screen, ui::Size window);

// Pulls a window back onto the screen: left, then top, then the right and bottom edges.
// A window larger than the screen ends with a negative left or top.
ui::Rect ClampToScreen(ui::Rect bounds, ui::Size screen);

// Both steps: the window's bounds for the placement.
ui::Rect PlaceWindow(std::int32_t placement, ui::Size screen, ui::Size window);

}  // namespace ambrevo
