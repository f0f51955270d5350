#pragma once

#include <windows.h>

#include "ui/control.h"

namespace ambrevo::win32 {

// The system cursor shown for a control's cursor property.
HCURSOR CursorOf(ui::Cursor cursor);

// The client position of a mouse message (signed: left of or above the window while the
// mouse is captured).
POINT PointOf(LPARAM position);

// The button of a WM_xBUTTONDOWN / WM_xBUTTONUP message.
ui::MouseButton ButtonOfMessage(UINT message);

// The button held during a move, from the message's key flags; the left one when none is.
ui::MouseButton ButtonOfKeys(WPARAM keys);

}  // namespace ambrevo::win32
