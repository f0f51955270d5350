#include <gtest/gtest.h>

#include "window_test_support.h"

namespace ambrevo {
namespace {

using testing::kDescription;
using testing::kHighlighted;
using testing::kNormal;
using testing::kPressed;
using testing::PictureId;

// Item 1: every set with frame 0 and a description picture. Item 2: no Highlighted frame
// 0, but Highlighted frames 1-2, and no description text. Item 3: a push button.
MenuDefinition StatesMenu() {
    MenuDefinition menu = testing::PictureMenu(3);
    testing::AddFrames(menu, 1, kHighlighted, 0);
    testing::AddFrames(menu, 1, kPressed, 0);
    testing::AddFrames(menu, 1, kDescription, 0);
    testing::AddFrames(menu, 2, kHighlighted, 2);
    menu.pictures.StorePicture(2, static_cast<int>(kHighlighted), 0, nullptr);
    menu.items[1].description.clear();
    menu.items[2].kind = 1;
    return menu;
}

class ItemStatesTest : public testing::WindowTest {
protected:
    void Hover(int n) { widgets_.MouseMove(*Item(n).picture, 1, 1); }
    void HoverBackground() { widgets_.MouseMove(*window_.Parts().background, 100, 100); }
    std::uint32_t Shown(int n) { return testing::ShownId(Item(n).picture); }
    const std::string& DescriptionText() { return window_.Parts().description->Caption(); }
    const ui::Picture& DescriptionPicture() { return *window_.Parts().descriptionPicture; }
};

TEST_F(ItemStatesTest, HoverMovesTheOneHighlightAndTheDescriptionFollows) {
    Load(StatesMenu());
    const struct {
        const char* step;
        int hover;  // 0 = the background
        int highlighted;
        std::uint32_t item1, item2;
        PictureSet set1, set2;
        std::string text;
        std::uint32_t descriptionPicture;  // 0 = hidden
    } steps[] = {
        {"onto item 1", 1, 1, PictureId(1, kHighlighted, 0), PictureId(2, kNormal, 0), kHighlighted,
         kNormal, "About 1", PictureId(1, kDescription, 0)},
        // No Highlighted frame 0: item 2 keeps its picture, but is in the Highlighted state.
        {"onto item 2", 2, 2, PictureId(1, kNormal, 0), PictureId(2, kNormal, 0), kNormal,
         kHighlighted, "Choose", 0},
        {"onto the background", 0, -1, PictureId(1, kNormal, 0), PictureId(2, kNormal, 0), kNormal,
         kNormal, "Choose", 0},
        {"back onto item 1", 1, 1, PictureId(1, kHighlighted, 0), PictureId(2, kNormal, 0),
         kHighlighted, kNormal, "About 1", PictureId(1, kDescription, 0)},
    };
    for (const auto& s : steps) {
        if (s.hover > 0) {
            Hover(s.hover);
        } else {
            HoverBackground();
        }
        EXPECT_EQ(window_.HighlightedItem(), s.highlighted) << s.step;
        EXPECT_EQ(Shown(1), s.item1) << s.step;
        EXPECT_EQ(Shown(2), s.item2) << s.step;
        EXPECT_EQ(window_.StateOf(1).set, s.set1) << s.step;
        EXPECT_EQ(window_.StateOf(2).set, s.set2) << s.step;
        EXPECT_EQ(DescriptionText(), s.text) << s.step;
        EXPECT_EQ(window_.Parts().descriptionShadow->Caption(), s.text) << s.step;
        EXPECT_EQ(DescriptionPicture().Visible(), s.descriptionPicture != 0) << s.step;
        if (s.descriptionPicture != 0) {
            EXPECT_EQ(testing::ShownId(&DescriptionPicture()), s.descriptionPicture) << s.step;
        }
    }
    EXPECT_EQ(window_.SelectedItem(), 1);
}

TEST_F(ItemStatesTest, HoveringTheHighlightedItemAgainChangesNothing) {
    Load(StatesMenu());
    Hover(1);
    const int changes = widgets_.Record(Form()).controlChanges;
    const int pumps = widgets_.ProcessMessagesCalls();
    Hover(1);
    EXPECT_EQ(widgets_.Record(Form()).controlChanges, changes);
    EXPECT_EQ(widgets_.ProcessMessagesCalls(), pumps);
}

TEST_F(ItemStatesTest, PressAndReleaseShowPressedThenHighlightedWithoutMovingTheHighlight) {
    Load(StatesMenu());
    Hover(1);
    widgets_.MouseDown(*Item(1).picture, 2, 2, ui::MouseButton::Right);
    EXPECT_EQ(Shown(1), PictureId(1, kPressed, 0));
    EXPECT_EQ(window_.StateOf(1).set, kPressed);
    EXPECT_EQ(window_.HighlightedItem(), 1);
    widgets_.MouseUp(*Item(1).picture, 50, 50);
    EXPECT_EQ(Shown(1), PictureId(1, kHighlighted, 0));
    EXPECT_EQ(window_.StateOf(1).set, kHighlighted);
}

TEST_F(ItemStatesTest, ANestedHighlightReturnsAtOnceAndTheOuterOneCompletes) {
    Load(StatesMenu());
    widgets_.InjectDuringProcessMessages([&] { Hover(2); });
    Hover(1);
    EXPECT_EQ(window_.HighlightedItem(), 1);
    EXPECT_EQ(window_.StateOf(1).set, kHighlighted);
    EXPECT_EQ(window_.StateOf(2).set, kNormal);
    EXPECT_EQ(window_.SelectedItem(), 2);
    EXPECT_EQ(DescriptionText(), "About 1");
    Hover(2);
    EXPECT_EQ(window_.HighlightedItem(), 2) << "the busy flag is released";
}

TEST_F(ItemStatesTest, NoHighlightBeforeTheMenuIsShown) {
    // Runs at the load's first message processing, before the menu counts as shown.
    widgets_.InjectDuringProcessMessages([&] { Hover(1); });
    window_.SetItemState(1, kHighlighted, false);
    window_.HighlightItem(1);
    Load(StatesMenu());
    EXPECT_EQ(window_.HighlightedItem(), 0);
    EXPECT_EQ(window_.SelectedItem(), 0);
    EXPECT_EQ(Shown(1), PictureId(1, kNormal, 0));
    EXPECT_TRUE(soundPlayer_.played.empty()) << "no select sound either";
}

TEST_F(ItemStatesTest, EachNewHighlightPlaysTheItemsSelectSoundWithoutWaiting) {
    files_.AddFile("E:\\disc\\mains2.wav", "RIFF");
    MenuDefinition menu = StatesMenu();
    menu.initialItem = 3;
    Load(menu);
    const std::string builtIn = "clip WAVE/SELECT_WAV";
    const struct {
        const char* step;
        int hover;          // 0 = the background
        std::string sound;  // empty: none
    } steps[] = {
        {"onto item 1", 1, builtIn},
        {"item 1 again", 1, ""},
        {"onto item 2, which has its own file", 2, "file E:\\disc\\mains2.wav"},
        {"onto the background", 0, ""},
        {"onto item 2 again after the background", 2, "file E:\\disc\\mains2.wav"},
    };
    EXPECT_EQ(soundPlayer_.played,
              (std::vector<testing::FakeSoundPlayer::Played>{{builtIn, false}}))
        << "the initial item sounds as it is highlighted";
    for (const auto& s : steps) {
        soundPlayer_.played.clear();
        if (s.hover > 0) {
            Hover(s.hover);
        } else {
            HoverBackground();
        }
        std::vector<testing::FakeSoundPlayer::Played> expected;
        if (!s.sound.empty()) expected.push_back({s.sound, false});
        EXPECT_EQ(soundPlayer_.played, expected) << s.step;
    }
}

TEST_F(ItemStatesTest, AnInitialItemBeyondTheMenuHighlightsNothing) {
    MenuDefinition menu = StatesMenu();
    menu.initialItem = 7;
    Load(menu);
    EXPECT_EQ(window_.HighlightedItem(), 0);
    Hover(1);
    Hover(2);
    EXPECT_EQ(window_.StateOf(1).set, kNormal);
    EXPECT_EQ(window_.StateOf(2).set, kHighlighted);
}

TEST_F(ItemStatesTest, PushButtonsAndKeyProxiesHighlightTheirItemWhenFocused) {
    MenuDefinition menu = StatesMenu();
    testing::AddFrames(menu, 1, kHighlighted, 2);
    menu.items[0].animationMode = 3;
    Load(menu);

    Item(3).button->SetFocus();
    EXPECT_EQ(window_.HighlightedItem(), 3);
    EXPECT_EQ(window_.SelectedItem(), 3);

    Hover(1);
    widgets_.Advance(100);
    EXPECT_EQ(Shown(1), PictureId(1, kHighlighted, 1));
    // Focus on the already highlighted item's key proxy puts its frame 0 back.
    Item(1).keyProxy->SetFocus();
    EXPECT_EQ(Shown(1), PictureId(1, kHighlighted, 0));
    EXPECT_EQ(window_.StateOf(1).position.frame, 0);
    EXPECT_EQ(window_.SelectedItem(), 1);
}

TEST_F(ItemStatesTest, DescriptionAreaFollowsTheItemRules) {
    MenuDefinition menu = StatesMenu();
    menu.defaultDescription.clear();
    menu.initialItem = 1;
    Load(menu);
    // The initial item is highlighted, the description area then reset.
    EXPECT_EQ(window_.HighlightedItem(), 1);
    EXPECT_EQ(Shown(1), PictureId(1, kHighlighted, 0));
    EXPECT_FALSE(DescriptionPicture().Visible());
    EXPECT_EQ(DescriptionText(), "About 1") << "an empty default keeps the item's text";

    Hover(2);
    EXPECT_EQ(DescriptionText(), "") << "no description and an empty default";
    Hover(1);
    EXPECT_TRUE(DescriptionPicture().Visible());

    // The next menu's item 1 brings its own description picture, not the one last shown.
    MenuDefinition next = StatesMenu();
    next.pictures.StorePicture(1, static_cast<int>(kDescription), 0, testing::Solid(4, 3, 777));
    Load(next);
    Hover(1);
    EXPECT_EQ(testing::ShownId(&DescriptionPicture()), 777u);
}

}  // namespace
}  // namespace ambrevo
