#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "backends/win32/widgetset_fixture.h"

namespace ambrevo::win32 {
namespace {

class ContextKeyTest : public WidgetsetTest {};

// The form's menu opens as on a right-button release; the menu's own loop then reads the
// keys posted behind the key and chooses the entry.
TEST_F(ContextKeyTest, ShiftF10AndTheMenuKeyOpenTheFormsContextMenu) {
    ui::Form& form = ShowForm();
    int chosen = 0;
    ui::PopupMenu& menu = form.AddPopupMenu("formMenu");
    menu.AddEntry("about", "About", [&] { ++chosen; });
    form.SetContextMenu(&menu);
    ui::Button& button = form.AddButton("button");
    button.SetBounds({10, 10, 60, 25});
    std::vector<int> keysDown;
    button.onKeyDown = [&](ui::Control&, int key) { keysDown.push_back(key); };

    const struct {
        const char* keys;
        UINT message;
        WPARAM key;
        bool shift;
        bool opens;
    } cases[] = {
        {"Shift+F10", WM_SYSKEYDOWN, VK_F10, true, true},
        {"Shift+F10 as a plain key", WM_KEYDOWN, VK_F10, true, true},
        {"menu key pressed", WM_KEYDOWN, VK_APPS, false, false},
        {"menu key released", WM_KEYUP, VK_APPS, false, true},
        {"F10", WM_SYSKEYDOWN, VK_F10, false, false},
    };
    for (const auto& c : cases) {
        button.SetFocus();
        BYTE keys[256] = {};
        keys[VK_SHIFT] = c.shift ? 0x80 : 0;
        ::SetKeyboardState(keys);
        chosen = 0;
        ::PostMessageA(::GetFocus(), c.message, c.key, 0);
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
        widgets_.ProcessMessages();
        keys[VK_SHIFT] = 0;
        ::SetKeyboardState(keys);
        EXPECT_EQ(chosen, c.opens ? 1 : 0) << c.keys;
    }
    EXPECT_EQ(std::count(keysDown.begin(), keysDown.end(), VK_APPS), 0)
        << "the menu key is the form's";
}

}  // namespace
}  // namespace ambrevo::win32
