#include "accessibility/menu_accessibility.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "window/window_test_support.h"

namespace ambrevo {
namespace {

using Events = std::vector<std::pair<ui::AccessibleEvent, int>>;
constexpr auto kFocusMoved = ui::AccessibleEvent::FocusMoved;
constexpr auto kReplaced = ui::AccessibleEvent::ElementsReplaced;
constexpr auto kButton = ui::AccessibleRole::PushButton;
constexpr auto kText = ui::AccessibleRole::StaticText;

class RecordingLauncher : public ItemLauncher {
public:
    void LaunchItem(int n) override { launched.push_back(n); }
    std::vector<int> launched;
};

class MenuAccessibilityTest : public testing::WindowTest {
protected:
    MenuAccessibilityTest() { window_.SetItemLauncher(&launcher_); }
    const Events& Told() { return widgets_.Record(Form()).accessibilityEvents; }

    RecordingLauncher launcher_;
    MenuAccessibility access_{window_};
};

TEST_F(MenuAccessibilityTest, ElementsTellNameRoleShortcutAndAction) {
    const auto kPicture = static_cast<std::int32_t>(ItemKind::ImgBtn);
    const auto kPush = static_cast<std::int32_t>(ItemKind::WinBtn);
    const auto kLabel = static_cast<std::int32_t>(ItemKind::LblBtn);
    const struct {
        std::int32_t kind;
        std::string caption, description, target, shortcutKey, name;
        std::string wantName;
        ui::AccessibleRole role;
        std::string shortcut, action;
    } cases[] = {
        {kPush, "&Run setup", "Installs", "setup.exe", "", "", "Run setup", kButton, "Alt+R",
         "Press"},
        {kLabel, "Read && &learn", "", "a.txt", "x", "", "Read & learn", kText, "Alt+X", ""},
        {kPicture, "ignored", "Installs", "setup.exe", "i", "", "Installs", kButton, "Alt+I",
         "Press"},
        {kPicture, "", "", "http://example.com/a", "", "", "http://example.com/a", kButton, "4",
         "Press"},
        {kPicture, "", "", "%\\docs\\guide.pdf", "", "", "guide.pdf", kButton, "5", "Press"},
        {kPicture, "", "", "\"C:\\a b\\v.exe\"", "", "", "v.exe", kButton, "6", "Press"},
        {kPicture, "", "", "$Hello", "", "", "Item 7", kButton, "7", "Press"},
        {kPush, "", "", "next.mnu", "", "", "next.mnu", kButton, "8", "Press"},
        {kPicture, "", "", "", "", "", "Item 9", kButton, "", "Press"},
        // A picture item's own name comes first; it travels beside the menu's body, in the
        // menu's code page.
        {kPicture, "", "Installs", "setup.exe", "", "Install \xE9", "Install \xC3\xA9", kButton, "",
         "Press"},
        {kPicture, "", "", "", "", "Start", "Start", kButton, "", "Press"},
    };
    MenuDefinition menu = testing::PictureMenu(static_cast<int>(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        MenuItem& item = menu.items[i];
        item.kind = cases[i].kind;
        item.caption = cases[i].caption;
        item.description = cases[i].description;
        item.target = cases[i].target;
        item.shortcutKey = cases[i].shortcutKey;
        item.name = cases[i].name;
    }
    menu.items[1].target = "*";  // the text item does nothing
    Load(menu);
    ASSERT_EQ(access_.Count(), static_cast<int>(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const ui::AccessibleElement element = access_.Element(static_cast<int>(i) + 1);
        EXPECT_EQ(element.name, cases[i].wantName) << i;
        EXPECT_EQ(element.role, cases[i].role) << i;
        EXPECT_EQ(element.shortcut, cases[i].shortcut) << i;
        EXPECT_EQ(element.defaultAction, cases[i].action) << i;
        EXPECT_EQ(element.description, cases[i].description) << i;
        EXPECT_EQ(element.unavailable, cases[i].action.empty()) << i;
        EXPECT_TRUE(element.focusable) << i;
        EXPECT_GT(element.bounds.width, 0) << i;
    }
    EXPECT_EQ(access_.Name(), "Menu") << "the title, not the scrolled caption";
    EXPECT_EQ(access_.Element(0), ui::AccessibleElement{});
    EXPECT_EQ(access_.Element(static_cast<int>(std::size(cases)) + 1), ui::AccessibleElement{});
}

TEST_F(MenuAccessibilityTest, FocusFollowsKeysAndPointerAndIsToldOncePerMove) {
    Load(testing::PictureMenu(3));
    EXPECT_EQ(Told(), (Events{{kReplaced, 0}}));
    EXPECT_EQ(access_.Focused(), 0);

    access_.Focus(2);
    widgets_.KeyDown(*Item(2).keyProxy, ui::kKeyRight);
    widgets_.MouseMove(*Item(3).picture, 1, 1);  // already focused: told nothing more
    widgets_.MouseMove(*Item(1).picture, 1, 1);
    EXPECT_EQ(Told(),
              (Events{{kReplaced, 0}, {kFocusMoved, 2}, {kFocusMoved, 3}, {kFocusMoved, 1}}));
    EXPECT_EQ(access_.Focused(), 1);
    EXPECT_TRUE(access_.Element(1).focused && access_.Element(1).hot);
    EXPECT_FALSE(access_.Element(3).focused || access_.Element(3).hot);

    const ui::Rect second = access_.Element(2).bounds;
    EXPECT_EQ(ui::AccessibleElementAt(access_, {second.left + 1, second.top + 1}), 2);
    EXPECT_EQ(ui::AccessibleElementAt(access_, {0, 0}), 0);

    Load(testing::PictureMenu(2));
    EXPECT_EQ(Told().back(), (std::pair{kReplaced, 0}));
    EXPECT_EQ(access_.Focused(), 0) << "a new menu has no focused element until one moves";
}

TEST_F(MenuAccessibilityTest, PressLaunchesOnceLikeEnterAndNotWhenUnavailable) {
    MenuDefinition menu = testing::PictureMenu(3);
    menu.items[2].target = "*";
    Load(menu);
    access_.Press(2);
    access_.Press(3);  // does nothing: no launch
    access_.Press(4);  // no element
    EXPECT_EQ(launcher_.launched, (std::vector<int>{2}));
    Form().SetEnabled(false);  // an action is running
    access_.Press(1);
    EXPECT_EQ(launcher_.launched, (std::vector<int>{2}));
    EXPECT_TRUE(access_.Element(1).unavailable);
}

}  // namespace
}  // namespace ambrevo
