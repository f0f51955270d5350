#include "backends/win32/widgetset/form_keyboard.h"

#include <cstdint>

#include "ui/input_router.h"

namespace ambrevo::win32 {
namespace {

bool KeyHeld(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

ui::KeyModifiers HeldModifiers() {
    return {KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL), KeyHeld(VK_MENU)};
}

static_assert(VK_APPS == ui::kKeyContextMenu && VK_F10 == ui::kKeyF10 && VK_TAB == ui::kKeyTab);

// The router decides whether F10 or the context-menu key opens the menu, and takes them.
bool RouteContextMenuKey(FormWindow& form, const MSG& message) {
    if (message.wParam != VK_F10 && message.wParam != VK_APPS) return false;
    const bool press = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    return form.Input().ContextMenuKey(static_cast<int>(message.wParam), press, HeldModifiers());
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
            if (RouteContextMenuKey(form, message)) return true;
            if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
            // The button's focus handler runs from WM_SETFOCUS.
            return form.Input().Tab(HeldModifiers());
        case WM_CHAR:
        case WM_SYSCHAR:
            return ClickAccessKey(form, message.wParam);
        default:
            return false;
    }
}

}  // namespace ambrevo::win32
