#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

#include "window_test_support.h"

namespace ambrevo {
namespace {

using testing::kHighlighted;
using testing::kNormal;
using testing::kPressed;
using Launches = std::vector<int>;

// Records the items launched; an action given for an item runs inside its launch.
class RecordingLauncher : public ItemLauncher {
public:
    void LaunchItem(int n) override {
        launched.push_back(n);
        if (const auto action = actions.find(n); action != actions.end()) action->second();
    }
    Launches launched;
    std::map<int, std::function<void()>> actions;
};

// Item 1 a picture item with Highlighted and Pressed pictures (4 x 3), item 2 a push
// button, item 3 a text item; more picture items after them.
MenuDefinition MixedMenu(int items = 3) {
    MenuDefinition menu = testing::PictureMenu(items);
    testing::AddFrames(menu, 1, kHighlighted, 0);
    testing::AddFrames(menu, 1, kPressed, 0);
    menu.items[1].kind = static_cast<std::int32_t>(ItemKind::WinBtn);
    menu.items[2].kind = static_cast<std::int32_t>(ItemKind::LblBtn);
    return menu;
}

class WindowInputTest : public testing::WindowTest {
protected:
    WindowInputTest() { window_.SetItemLauncher(&launcher_); }

    ui::Button& Proxy(int n) { return *Item(n).keyProxy; }
    // The control of item n that the pointer reaches, by the items of MixedMenu.
    ui::Control& Shown(int n) {
        if (n == 2) return *Item(2).button;
        if (n == 3) return *Item(3).label;
        return *Item(n).picture;
    }
    // The button that holds the focus when item n is selected from the keyboard.
    ui::Button* FocusOf(int n) { return n == 2 ? Item(2).button : &Proxy(n); }
    void Hover(int n) { widgets_.MouseMove(Shown(n), 1, 1); }
    ui::Picture& Background() { return *window_.Parts().background; }

    RecordingLauncher launcher_;
};

TEST_F(WindowInputTest, PictureReleaseLaunchesOnlyStrictlyInsideWithAnyButton) {
    Load(MixedMenu());
    using ui::MouseButton;
    const struct {
        int x, y;
        MouseButton button;
        bool launches;
    } releases[] = {
        {1, 1, MouseButton::Left, true},   {3, 2, MouseButton::Left, true},
        {0, 1, MouseButton::Left, false},  {1, 0, MouseButton::Left, false},
        {4, 1, MouseButton::Left, false},  {1, 3, MouseButton::Left, false},
        {-9, 1, MouseButton::Left, false}, {2, 1, MouseButton::Right, true},
        {2, 0, MouseButton::Right, false}, {2, 2, MouseButton::Middle, true},
    };
    for (const auto& r : releases) {
        launcher_.launched.clear();
        Hover(1);
        widgets_.MouseDown(Shown(1), 1, 1, r.button);
        EXPECT_EQ(window_.StateOf(1).set, kPressed);
        EXPECT_EQ(testing::ShownId(Item(1).picture), testing::PictureId(1, kPressed, 0));
        widgets_.MouseUp(Shown(1), r.x, r.y, r.button);
        EXPECT_EQ(window_.StateOf(1).set, kHighlighted) << r.x << "," << r.y;
        EXPECT_EQ(launcher_.launched, r.launches ? Launches{1} : Launches{}) << r.x << "," << r.y;
    }
}

TEST_F(WindowInputTest, PictureReleaseLaunchesTheItemReleasedOnAndReportsAFailureOnce) {
    Load(MixedMenu(4));
    Hover(4);
    widgets_.KeyDown(Proxy(4), ui::kKeyRight);  // the keyboard selects item 1 meanwhile
    launcher_.actions[4] = [] { throw std::runtime_error("broken"); };
    widgets_.MouseDown(Shown(4), 1, 1);
    widgets_.MouseUp(Shown(4), 1, 1);
    EXPECT_EQ(launcher_.launched, Launches{4});
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].text, "broken.");
    EXPECT_EQ(window_.StateOf(4).set, kHighlighted);
}

TEST_F(WindowInputTest, ClickOfAButtonOrTextItemLaunchesTenMillisecondsLaterOnce) {
    Load(MixedMenu());
    for (const int n : {2, 3}) {
        launcher_.launched.clear();
        widgets_.Click(Shown(n));
        widgets_.Advance(9);
        EXPECT_TRUE(launcher_.launched.empty()) << n;
        widgets_.Advance(1);
        EXPECT_EQ(launcher_.launched, Launches{n});
        widgets_.Advance(100);
        EXPECT_EQ(launcher_.launched, Launches{n});
        EXPECT_FALSE(widgets_.TimerRunning(window_.ClickTimer()));
    }
    // A second click before the tick only replaces the item; a failing launch is
    // reported once, with the timer already stopped.
    launcher_.launched.clear();
    launcher_.actions[3] = [] { throw std::runtime_error("broken"); };
    widgets_.Click(Shown(2));
    widgets_.Advance(5);
    widgets_.Click(Shown(3));
    widgets_.Advance(100);
    EXPECT_EQ(launcher_.launched, Launches{3});
    EXPECT_EQ(dialogs_.shown.size(), 1u);
}

TEST_F(WindowInputTest, ArrowsAndWheelMoveTheFocusWithWrap) {
    const int kWheelDown = -100, kWheelUp = 100;  // inputs beyond the key codes
    const struct {
        int items;
        int hovered;  // 0 = none
        int input;    // a key code, or the wheel turned by input / 100 notches
        int selected;
    } cases[] = {
        {3, 0, ui::kKeyLeft, 3},  // first: nothing selected since the start
        {3, 3, ui::kKeyRight, 1}, {3, 3, ui::kKeyDown, 1}, {3, 3, kWheelDown, 1},
        {3, 1, ui::kKeyLeft, 3},  {3, 1, ui::kKeyUp, 3},   {3, 1, kWheelUp, 3},
        {3, 1, ui::kKeyRight, 2}, {3, 2, kWheelDown, 3},   {3, 3, ui::kKeyUp, 2},
        {3, 1, 2 * kWheelUp, 2},  {5, 5, ui::kKeyLeft, 4}, {3, 5, ui::kKeyRight, 1},
        {3, 5, ui::kKeyLeft, 3},
    };
    for (const auto& c : cases) {
        // A hover in a larger menu leaves a selection that is no item of the next one.
        if (c.hovered > c.items) {
            Load(MixedMenu(c.hovered));
            Hover(c.hovered);
        }
        Load(MixedMenu(c.items));
        if (c.hovered > 0 && c.hovered <= c.items) Hover(c.hovered);
        Form().SetFocus();
        if (c.input >= kWheelUp || c.input <= kWheelDown) {
            EXPECT_TRUE(widgets_.Wheel(Form(), c.input / kWheelUp));
        } else {
            widgets_.KeyDown(Proxy(1), c.input);
        }
        EXPECT_EQ(window_.SelectedItem(), c.selected) << c.hovered << " " << c.input;
        EXPECT_EQ(window_.HighlightedItem(), c.selected);
        EXPECT_EQ(Form().FocusedButton(), FocusOf(c.selected));
    }
    Form().SetFocus();
    widgets_.KeyDown(Proxy(1), '\t');
    EXPECT_EQ(Form().FocusedButton(), nullptr) << "Tab is the widgetset's";
    Load(testing::PictureMenu(0));
    EXPECT_FALSE(widgets_.Wheel(Form(), -1));
}

TEST_F(WindowInputTest, EachKeyPressLaunchesAtMostOnce) {
    const std::function<void(ui::Button&)> kEnterDown = [&](ui::Button& b) {
        widgets_.KeyDown(b, 13);
    };
    const std::function<void(ui::Button&)> kEnter = [&](ui::Button& b) {
        widgets_.KeyPress(b, '\r');
    };
    // The widgetset's Space and mnemonics click; Space's character reaches the handler too.
    const std::function<void(ui::Button&)> kClick = [&](ui::Button& b) {
        widgets_.Click(b);
        widgets_.KeyPress(b, ' ');
    };
    const auto key = [&](char c) {
        return std::function<void(ui::Button&)>([&, c](ui::Button& b) { widgets_.KeyPress(b, c); });
    };
    const struct {
        int items, focused;
        std::function<void(ui::Button&)> press;
        Launches launched;
        int selected;
    } cases[] = {
        {3, 1, kEnterDown, {}, 1}, {3, 1, kEnter, {1}, 1},   {3, 1, kClick, {1}, 1},
        {3, 2, kEnter, {2}, 2},    {3, 2, kClick, {2}, 2},   {3, 3, kEnter, {3}, 3},
        {3, 3, kClick, {3}, 3},    {3, 1, key('2'), {2}, 2}, {3, 2, key('3'), {3}, 3},
        {3, 3, key('1'), {1}, 1},  {3, 1, key('4'), {}, 1},  {3, 1, key('0'), {}, 1},
        {9, 1, key('8'), {8}, 8},  {9, 1, key('9'), {}, 1},
    };
    for (const auto& c : cases) {
        Load(MixedMenu(c.items));
        FocusOf(c.focused)->SetFocus();
        launcher_.launched.clear();
        c.press(*FocusOf(c.focused));
        widgets_.Advance(50);
        EXPECT_EQ(launcher_.launched, c.launched) << c.focused;
        EXPECT_EQ(window_.SelectedItem(), c.selected) << c.focused;
        EXPECT_EQ(Form().FocusedButton(), FocusOf(c.selected)) << c.focused;
    }
}

TEST_F(WindowInputTest, KeyOnAPictureItemShowsItPressedWhileItsActionRuns) {
    MenuDefinition second = testing::PictureMenu(3);
    for (int n = 1; n <= 3; ++n) testing::AddFrames(second, n, kHighlighted, 0);
    second.initialItem = 2;
    InstallMenus({{"main.mnu", MixedMenu()}, {"second.mnu", second}});
    const struct {
        const char* switchTo;  // nullptr: the action stays in the menu
        bool enter;            // else the key proxy's click
        PictureSet item1, item2;
    } cases[] = {
        {nullptr, true, kHighlighted, kNormal},      {nullptr, false, kHighlighted, kNormal},
        {"second.mnu", true, kNormal, kHighlighted}, {"second.mnu", false, kNormal, kHighlighted},
        {"nope.mnu", true, kHighlighted, kNormal},  // a switch that fails keeps the menu
    };
    for (const auto& c : cases) {
        window_.LoadMenu("main.mnu");
        Proxy(1).SetFocus();
        PictureSet during = kNormal;
        launcher_.actions[1] = [&] {
            during = window_.StateOf(1).set;
            if (c.switchTo) window_.LoadMenu(c.switchTo);
        };
        if (c.enter) {
            widgets_.KeyPress(Proxy(1), '\r');
        } else {
            widgets_.Click(Proxy(1));
        }
        EXPECT_EQ(during, kPressed);
        EXPECT_EQ(window_.StateOf(1).set, c.item1) << c.switchTo << c.enter;
        EXPECT_EQ(window_.StateOf(2).set, c.item2) << c.switchTo << c.enter;
        EXPECT_EQ(window_.StateOf(3).set, kNormal);
    }
}

TEST_F(WindowInputTest, KeyPressSpentWhenItsItemGoesWithAMenuSwitchedMeanwhile) {
    InstallMenus({{"main.mnu", MixedMenu()}, {"second.mnu", MixedMenu()}});
    const std::function<void()> presses[] = {
        [&] { widgets_.Click(Proxy(1)); },
        [&] { widgets_.KeyPress(Proxy(1), '3'); },
    };
    for (const auto& press : presses) {
        window_.LoadMenu("main.mnu");
        Hover(1);  // the highlight stays: the press's own message processing switches
        widgets_.InjectDuringProcessMessages([&] { window_.LoadMenu("second.mnu"); });
        launcher_.launched.clear();
        press();
        EXPECT_TRUE(launcher_.launched.empty());
        EXPECT_EQ(window_.StateOf(1).set, kNormal);
    }
}

// The pointer is given on the screen, measured from where the window started; the events
// carry it relative to the background of the window where it is by then.
TEST_F(WindowInputTest, BackgroundDragKeepsThePointWhereItWasPressedUnderThePointer) {
    Load(MixedMenu());
    const ui::Rect start = Form().Bounds();
    using ui::Cursor;
    using ui::MouseButton;
    enum Event { Down, Move, Up };
    const struct {
        Event event;
        int x, y;  // the pointer
        MouseButton button;
        int dx, dy;  // the window from where it started
        Cursor cursor;
    } steps[] = {
        {Down, 50, 40, MouseButton::Left, 0, 0, Cursor::SizeAll},
        {Move, 58, 45, MouseButton::Left, 8, 5, Cursor::SizeAll},
        {Move, 66, 50, MouseButton::Left, 16, 10, Cursor::SizeAll},
        {Move, 74, 55, MouseButton::Left, 24, 15, Cursor::SizeAll},
        {Move, 82, 60, MouseButton::Left, 32, 20, Cursor::SizeAll},
        {Move, 90, 65, MouseButton::Left, 40, 25, Cursor::SizeAll},
        {Move, 90, 65, MouseButton::Left, 40, 25, Cursor::SizeAll},
        {Move, 40, 40, MouseButton::Left, -10, 0, Cursor::SizeAll},
        {Up, 40, 40, MouseButton::Left, -10, 0, Cursor::Default},
        {Move, 70, 70, MouseButton::Left, -10, 0, Cursor::Default},
        {Down, 50, 40, MouseButton::Right, -10, 0, Cursor::Default},
        {Move, 60, 50, MouseButton::Left, -10, 0, Cursor::Default},
        {Up, 60, 50, MouseButton::Right, -10, 0, Cursor::Default},
        {Down, 50, 40, MouseButton::Left, -10, 0, Cursor::SizeAll},
        {Up, 50, 40, MouseButton::Right, -10, 0, Cursor::Default},  // any button ends it
        {Move, 30, 30, MouseButton::Left, -10, 0, Cursor::Default},
    };
    for (const auto& s : steps) {
        const int x = start.left + s.x - Form().Bounds().left;
        const int y = start.top + s.y - Form().Bounds().top;
        if (s.event == Down) widgets_.MouseDown(Background(), x, y, s.button);
        if (s.event == Move) widgets_.MouseMove(Background(), x, y);
        if (s.event == Up) widgets_.MouseUp(Background(), x, y, s.button);
        const ui::Rect& now = Form().Bounds();
        EXPECT_EQ(now.left - start.left, s.dx) << s.x << "," << s.y;
        EXPECT_EQ(now.top - start.top, s.dy) << s.x << "," << s.y;
        EXPECT_EQ(now.width, start.width);
        EXPECT_EQ(Background().GetCursor(), s.cursor) << s.x << "," << s.y;
    }
}

TEST_F(WindowInputTest, MovesOverTheDescriptionUnhighlightAndNestedMovesAreIgnored) {
    Load(MixedMenu());
    const WindowParts& parts = window_.Parts();
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             parts.descriptionPicture, parts.description, parts.descriptionShadow}) {
        Hover(1);
        ASSERT_EQ(window_.HighlightedItem(), 1);
        widgets_.MouseMove(*control, 2, 2);
        EXPECT_EQ(window_.HighlightedItem(), -1) << control->Name();
        EXPECT_EQ(parts.description->Caption(), "Choose");
    }
    // A move that arrives while the background's move un-highlights is dropped whole.
    Hover(1);
    const ui::Rect start = Form().Bounds();
    widgets_.MouseDown(Background(), 50, 40);
    widgets_.InjectDuringProcessMessages([&] { widgets_.MouseMove(Background(), 90, 90); });
    widgets_.MouseMove(Background(), 55, 40);
    EXPECT_EQ(Form().Bounds().left - start.left, 5);
    EXPECT_EQ(Form().Bounds().top, start.top);
}

}  // namespace
}  // namespace ambrevo
