#include "backends/win32/widgetset/form_keyboard.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/font.h"

namespace ambrevo::win32 {
namespace {

bool KeyHeld(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

bool MoveFocus(FormWindow& form, bool backwards) {
    const std::vector<NativeButton*> order = form.TabOrder();
    if (order.empty()) return true;
    const HWND focus = ::GetFocus();
    const auto current = std::find_if(order.begin(), order.end(),
                                      [&](const NativeButton* b) { return b->Handle() == focus; });
    std::size_t next = 0;
    if (current == order.end()) {
        next = backwards ? order.size() - 1 : 0;
    } else {
        const std::size_t at = static_cast<std::size_t>(current - order.begin());
        next = backwards ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
    }
    ::SetFocus(order[next]->Handle());  // the button's focus handler runs from WM_SETFOCUS
    return true;
}

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
bool ClickMnemonic(FormWindow& form, WPARAM typed) {
    // Control characters (Enter, Backspace, Ctrl+letter) and Space (the focused button's
    // own click, or Alt+Space for the system menu) are never mnemonics.
    if (typed <= ' ' || typed > 0xFFFF) return false;
    NativeButton* target =
        form.ButtonWithMnemonic(ui::UpperCaseLetter(static_cast<std::uint32_t>(typed)));
    if (!target) return false;
    ui::Button& button = target->Model();
    const HWND window = target->Handle();
    form.Model().App().Dispatch([&] {
        // As a mouse click would, the key first gives the button the focus; its focus
        // handler may remove it, and then nothing is clicked.
        ::SetFocus(window);
        if (form.ButtonOf(button)) button.Click();
    });
    return true;
}

}  // namespace

bool PreTranslateFormKey(FormWindow& form, const MSG& message) {
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (TakeContextMenuKey(form, message)) return true;
            if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || KeyHeld(VK_CONTROL) ||
                KeyHeld(VK_MENU)) {
                return false;
            }
            return MoveFocus(form, KeyHeld(VK_SHIFT));
        case WM_CHAR:
        case WM_SYSCHAR:
            return ClickMnemonic(form, message.wParam);
        default:
            return false;
    }
}

}  // namespace ambrevo::win32
