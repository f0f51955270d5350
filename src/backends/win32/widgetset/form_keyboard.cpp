#include "backends/win32/widgetset/form_keyboard.h"

#include <cstdint>

namespace ambrevo::win32 {
namespace {

bool KeyHeld(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

// Shift+F10 (when pressed) and the context-menu key (when released) open the context menu
// as the right button does. Both keys are taken whole, so that neither a button nor the
// system's default handling acts on them as well.
bool TakeContextMenuKey(FormWindow& form, const MSG& message) {
    const bool press = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    bool open = false;
    if (message.wParam == VK_APPS) {
        open = !press;
    } else if (message.wParam == VK_F10 && press && KeyHeld(VK_SHIFT) && !KeyHeld(VK_CONTROL) &&
               !KeyHeld(VK_MENU)) {
        open = true;
    } else {
        return false;
    }
    if (open) {
        ::SendMessageW(form.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form.Handle()), -1);
    }
    return true;
}

// typed is a UTF-16 unit of the form's Unicode windows; a character outside the basic plane
// comes as two surrogates, neither of which is any caption's letter.
bool ClickAccessKey(FormWindow& form, WPARAM typed) {
    // Control characters (Enter, Backspace, Ctrl+letter) and Space (the focused button's
    // own click, or Alt+Space for the system menu) are never access keys.
    if (typed > 0xFFFF) return false;
    return form.Input().AccessKey(static_cast<std::uint32_t>(typed));
}

}  // namespace

bool PreTranslateFormKey(FormWindow& form, const MSG& message) {
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (TakeContextMenuKey(form, message)) return true;
            if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
            // The button's focus handler runs from WM_SETFOCUS.
            return form.Input().Tab({KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL), KeyHeld(VK_MENU)});
        case WM_CHAR:
        case WM_SYSCHAR:
            return ClickAccessKey(form, message.wParam);
        default:
            return false;
    }
}

}  // namespace ambrevo::win32
