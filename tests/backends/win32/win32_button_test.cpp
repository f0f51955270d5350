#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "backends/win32/widgetset_fixture.h"

namespace ambrevo::win32 {
namespace {

// Buttons whose focus, key, character and click events are recorded as "name event".
class ButtonTest : public WidgetsetTest {
protected:
    ButtonTest() : form_(ShowForm(300, 120)) {}

    ui::Button& AddButton(const std::string& name, const std::string& caption, int left) {
        ui::Button& button = form_.AddButton(name);
        button.SetCaption(caption);
        button.SetBounds({left, 10, 60, 25});
        button.SetTabStop(true);
        button.onGotFocus = [this](ui::Control& sender) { Record(sender, "focus"); };
        button.onClick = [this](ui::Control& sender) { Record(sender, "click"); };
        button.onKeyDown = [this](ui::Control& sender, int key) {
            Record(sender, "keydown " + std::to_string(key));
        };
        button.onKeyPress = [this](ui::Control& sender, char character) {
            Record(sender, "keypress " + std::to_string(static_cast<unsigned char>(character)));
        };
        return button;
    }

    void Record(ui::Control& sender, const std::string& what) {
        events_.push_back(sender.Name() + " " + what);
    }

    HWND Native(const ui::Button& button) const { return widgets_.WindowOf(button); }

    // Posts the messages to the focused window and runs the message loop, as typing does.
    void Type(std::initializer_list<std::pair<UINT, WPARAM>> messages) {
        for (const auto& [message, code] : messages) ::PostMessageW(::GetFocus(), message, code, 0);
        widgets_.ProcessMessages();
    }

    // Runs the message loop with Shift held or not.
    void Tab(bool shift = false) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        ::SetKeyboardState(keys);
        Type({{WM_KEYDOWN, VK_TAB}});
        keys[VK_SHIFT] = 0;
        ::SetKeyboardState(keys);
    }

    ui::Form& form_;
    std::vector<std::string> events_;
};

TEST_F(ButtonTest, NativeButtonFollowsTheModel) {
    ui::Button& ok = AddButton("ok", "&OK", 10);
    char text[32] = {};
    ::GetWindowTextA(Native(ok), text, sizeof text);
    EXPECT_STREQ(text, "&OK");
    EXPECT_TRUE(::IsWindowVisible(Native(ok)));

    ok.SetCaption("&Cancel");
    ok.SetBounds({20, 30, 70, 22});
    ok.SetVisible(false);
    ::GetWindowTextA(Native(ok), text, sizeof text);
    EXPECT_STREQ(text, "&Cancel");
    RECT rect{};
    ::GetWindowRect(Native(ok), &rect);
    ::MapWindowPoints(nullptr, Window(form_), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 20);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right - rect.left, 70);
    EXPECT_EQ(rect.bottom - rect.top, 22);
    EXPECT_FALSE(::IsWindowVisible(Native(ok)));

    const HWND gone = Native(ok);
    form_.DestroyControl(ok);
    EXPECT_FALSE(::IsWindow(gone));
}

TEST_F(ButtonTest, ButtonsSetUpInAHiddenFormAppearWithItInTheirLastState) {
    form_.SetVisible(false);
    ui::Button& kept = AddButton("kept", "&One", 10);
    kept.SetCaption("&Two");
    kept.SetBounds({20, 30, 70, 22});
    kept.SetEnabled(false);
    kept.SetEnabled(true);
    ui::Button& hidden = AddButton("hidden", "&Hidden", 100);
    hidden.SetVisible(false);
    ui::Button& disabled = AddButton("disabled", "&Off", 180);
    disabled.SetEnabled(false);
    EXPECT_FALSE(::IsWindowEnabled(Native(disabled))) << "handed out in the model's state";
    form_.SetVisible(true);

    // Found by their texts: the widgetset would bring a button it hands out in step itself.
    const auto child = [&](const char* text) {
        return ::FindWindowExA(Window(form_), nullptr, "BUTTON", text);
    };
    const HWND two = child("&Two");
    ASSERT_NE(two, nullptr);
    EXPECT_TRUE(::IsWindowVisible(two));
    EXPECT_TRUE(::IsWindowEnabled(two));
    EXPECT_NE(::GetWindowLongPtrA(two, GWL_STYLE) & WS_TABSTOP, 0);
    RECT rect{};
    ::GetWindowRect(two, &rect);
    ::MapWindowPoints(nullptr, Window(form_), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 20);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right - rect.left, 70);
    EXPECT_EQ(rect.bottom - rect.top, 22);
    EXPECT_TRUE(::IsWindowVisible(child("&Off")));
    EXPECT_FALSE(::IsWindowEnabled(child("&Off")));

    // The one visible, enabled button takes the focus from Tab and its mnemonic.
    form_.SetFocus();
    Tab();
    EXPECT_EQ(::GetFocus(), two);
    Type({{WM_CHAR, 'h'}, {WM_CHAR, 'o'}, {WM_CHAR, 't'}});
    EXPECT_EQ(events_, (std::vector<std::string>{"kept focus", "kept keypress 104",
                                                 "kept keypress 111", "kept click"}));

    // The button left hidden comes in its last state when it is shown.
    hidden.SetVisible(true);
    const HWND shown = child("&Hidden");
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(::IsWindowVisible(shown));
    ::GetWindowRect(shown, &rect);
    ::MapWindowPoints(nullptr, Window(form_), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.right - rect.left, 60);
}

TEST_F(ButtonTest, FocusFiresGotFocusOnceAndLeavesWithTheFocus) {
    ui::Button& a = AddButton("a", "A", 10);
    ui::Button& b = AddButton("b", "B", 80);
    a.SetFocus();
    a.SetFocus();
    EXPECT_EQ(::GetFocus(), Native(a));
    EXPECT_TRUE(a.Focused());
    b.SetFocus();
    EXPECT_FALSE(a.Focused());
    form_.SetFocus();
    EXPECT_EQ(form_.FocusedButton(), nullptr);
    EXPECT_EQ(events_, (std::vector<std::string>{"a focus", "b focus"}));
}

TEST_F(ButtonTest, KeysReachTheFocusedButtonAndEnterDoesNotClick) {
    ui::Button& a = AddButton("a", "&Apply", 10);
    a.SetFocus();
    events_.clear();

    Type({{WM_KEYDOWN, VK_DOWN}, {WM_CHAR, '5'}});
    Type({{WM_KEYDOWN, VK_RETURN}});  // translated into the character 13
    EXPECT_EQ(events_, (std::vector<std::string>{"a keydown 40", "a keypress 53", "a keydown 13",
                                                 "a keypress 13"}));
}

TEST_F(ButtonTest, SpaceClicksTheFocusedButtonOnce) {
    ui::Button& a = AddButton("a", "A", 10);
    a.SetFocus();
    events_.clear();

    Type({{WM_KEYDOWN, VK_SPACE}, {WM_KEYUP, VK_SPACE}});
    EXPECT_EQ(std::count(events_.begin(), events_.end(), "a click"), 1);
}

TEST_F(ButtonTest, MnemonicClicksTheFirstVisibleButtonInsteadOfAKeyPress) {
    ui::Button& focused = AddButton("focused", "&Focused", 10);
    ui::Button& hidden = AddButton("hidden", "&Go", 80);
    AddButton("go", "&go", 150);
    AddButton("again", "Go &again", 220).BringToFront();
    AddButton("literal", "&&Literal", 220);
    AddButton("exit", "&Выход", 290);
    hidden.SetVisible(false);
    focused.SetFocus();

    const struct {
        UINT message;
        wchar_t typed;
        std::vector<std::string> events;
    } cases[] = {
        // Characters are matched as letters of any script, in either case.
        {WM_CHAR, L'в', {"exit focus", "exit click"}},
        {WM_CHAR, L'В', {"exit click"}},
        // Only ASCII reaches the key handlers: U+0431 must not read as the digit "1".
        {WM_CHAR, L'б', {}},
        {WM_CHAR, 'g', {"go focus", "go click"}},
        {WM_SYSCHAR, 'A', {"again focus", "again click"}},
        {WM_CHAR, 'f', {"focused focus", "focused click"}},
        {WM_CHAR, 'f', {"focused click"}},
        {WM_CHAR, 'l', {"focused keypress 108"}},  // "&&" is no mnemonic
        {WM_CHAR, 'x', {"focused keypress 120"}},
    };
    for (const auto& test : cases) {
        events_.clear();
        Type({{test.message, static_cast<WPARAM>(test.typed)}});
        EXPECT_EQ(events_, test.events) << static_cast<int>(test.typed);
    }
}

TEST_F(ButtonTest, TabFollowsCreationOrderWhateverTheZOrder) {
    ui::Button& a = AddButton("a", "A", 10);
    ui::Button& noStop = AddButton("noStop", "N", 80);
    ui::Button& b = AddButton("b", "B", 150);
    ui::Button& hidden = AddButton("hidden", "H", 200);
    ui::Button& c = AddButton("c", "C", 220);
    noStop.SetTabStop(false);
    hidden.SetVisible(false);
    a.BringToFront();
    c.SendToBack();
    a.SetFocus();
    events_.clear();

    Tab();
    Tab();
    Tab();
    Tab(true);
    Tab(true);
    EXPECT_EQ(events_,
              (std::vector<std::string>{"b focus", "c focus", "a focus", "c focus", "b focus"}));
    EXPECT_EQ(::GetFocus(), Native(b));
}

// Hidden and off-screen buttons get their windows only when needed; one made late takes
// its place in the model's z-order, behind the buttons in front of it.
TEST_F(ButtonTest, ButtonsMadeLateFollowTheModelsStateAndZOrder) {
    const auto child = [&](const char* text) {
        return ::FindWindowExA(Window(form_), nullptr, "BUTTON", text);
    };
    ui::Button& late = form_.AddButton("late");
    late.SetVisible(false);
    late.SetBounds({10, 10, 60, 25});
    late.SetCaption("&Later");
    ui::Button& front = AddButton("front", "&Front", 40);  // overlaps late
    ui::Button& outside = AddButton("outside", "&Outside", -100);
    EXPECT_EQ(child("&Later"), nullptr);
    EXPECT_EQ(child("&Outside"), nullptr);

    late.SetVisible(true);
    const HWND made = child("&Later");
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(::IsWindowVisible(made));
    EXPECT_EQ(::GetWindow(Native(front), GW_HWNDNEXT), made) << "front stays in front";

    outside.SetFocus();
    EXPECT_EQ(::GetFocus(), child("&Outside"));
    EXPECT_EQ(events_, (std::vector<std::string>{"outside focus"}));
}

TEST_F(ButtonTest, NativeClickFiresClickOnceEvenWhenItsHandlerRemovesTheButton) {
    ui::Button& a = AddButton("a", "A", 10);
    a.onClick = [&](ui::Control& sender) {
        Record(sender, "click");
        form_.DestroyControl(sender);
    };
    // A press and release by mouse, as BM_CLICK sends them.
    ::SendMessageA(Native(a), BM_CLICK, 0, 0);
    EXPECT_EQ(events_, (std::vector<std::string>{"a focus", "a click"}));
    EXPECT_EQ(form_.FindControl("a"), nullptr);
}

}  // namespace
}  // namespace ambrevo::win32
