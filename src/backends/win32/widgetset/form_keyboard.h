#pragma once

#include <windows.h>

#include "backends/win32/widgetset/form_window.h"

namespace ambrevo::win32 {

// The keyboard of a form, taken before a message is translated and dispatched (the
// project's own IsDialogMessage, since the tab order and the mnemonics follow the model):
// - Tab and Shift+Tab move the focus among the focusable buttons in creation order,
//   whatever the z-order, wrapping at the ends;
// - a typed character, or Alt with a character, that is the mnemonic of a visible button
//   focuses and clicks that button, and goes no further;
// - Shift+F10 and the context-menu key go to the router, which opens the context menu.
// Everything else (Enter and Space included) reaches the focused button: Enter as KeyDown
// and KeyPress only, Space as the native click. True when the message was taken.
bool PreTranslateFormKey(FormWindow& form, const MSG& message);

}  // namespace ambrevo::win32
