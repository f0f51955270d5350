#include "window/item_animation.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "window_test_support.h"

namespace ambrevo {
namespace {

using testing::PictureId;

// The frames an item shows from frame 0 on, one per step; a rest repeats the frame.
std::vector<int> Frames(std::int32_t mode, int lastFrame, int steps) {
    std::mt19937 random(1);
    FramePosition now;
    std::vector<int> frames{now.frame};
    for (int i = 0; i < steps; ++i) {
        if (const auto next = NextFrame(mode, now, lastFrame, random)) now = *next;
        frames.push_back(now.frame);
    }
    return frames;
}

TEST(NextFrameTest, EachModeRunsItsFrameSequence) {
    const struct {
        std::int32_t mode;
        std::vector<int> frames;
    } cases[] = {
        {0, {0, 0, 0, 0, 0}},
        {2, {0, 1, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3}},
        {3, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}},
        {4, {0, 1, 2, 3, 2, 1, 0, 0, 0, 0, 0, 0}},
        {5, {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1}},
        {6, {0, 0, 0, 0}},
        {-1, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Frames(c.mode, 3, static_cast<int>(c.frames.size()) - 1), c.frames)
            << "mode " << c.mode;
    }
    std::mt19937 random(1);
    // A static item away from frame 0 goes back to it; an unknown mode keeps its frame.
    EXPECT_EQ(NextFrame(0, {2, false}, 3, random), (FramePosition{0, false}));
    EXPECT_EQ(NextFrame(9, {2, true}, 3, random), (FramePosition{2, true}));
    // Only one frame above 0: forth and back still turns round.
    EXPECT_EQ(Frames(5, 1, 4), (std::vector<int>{0, 1, 0, 1, 0}));
}

TEST(NextFrameTest, RandomFramesCoverZeroToTheLastFrameAndFollowTheSeed) {
    std::mt19937 random(7);
    std::mt19937 again(7);
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        const auto next = NextFrame(1, {}, 3, random);
        ASSERT_TRUE(next);
        EXPECT_EQ(next, NextFrame(1, {}, 3, again));
        seen.insert(next->frame);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3}));
}

class AnimateItemsTest : public testing::WindowTest {
protected:
    std::uint32_t Shown(int n) { return testing::ShownId(Item(n).picture); }
};

TEST_F(AnimateItemsTest, TheAnimationTimerStepsEveryItemInItsCurrentSet) {
    MenuDefinition menu = testing::PictureMenu(3);
    menu.animationInterval = 50;
    testing::AddFrames(menu, 1, PictureSet::Normal, 3);
    menu.items[0].animationMode = 3;
    testing::AddFrames(menu, 2, PictureSet::Highlighted, 2);
    menu.items[1].animationMode = 3;  // only its Highlighted set has frames
    menu.items[2].animationMode = 3;  // no frames at all
    Load(menu);
    EXPECT_EQ(window_.AnimationTimer().Interval(), 50);

    std::vector<std::uint32_t> first;
    auto& changes = widgets_.Record(Form()).changesByControl;
    changes.clear();
    for (int tick = 0; tick < 5; ++tick) {
        widgets_.Advance(50);
        first.push_back(Shown(1));
    }
    EXPECT_EQ(changes, (std::map<std::string, int>{{"ImgBtn001", 5}}))
        << "a tick repaints only the item whose frame changed";
    EXPECT_EQ(first, (std::vector<std::uint32_t>{
                         PictureId(1, PictureSet::Normal, 1), PictureId(1, PictureSet::Normal, 2),
                         PictureId(1, PictureSet::Normal, 3), PictureId(1, PictureSet::Normal, 0),
                         PictureId(1, PictureSet::Normal, 1)}));
    EXPECT_EQ(Shown(2), PictureId(2, PictureSet::Normal, 0));
    EXPECT_EQ(Shown(3), PictureId(3, PictureSet::Normal, 0));

    // Highlighting restarts item 2 in its Highlighted frames.
    widgets_.MouseMove(*Item(2).picture, 1, 1);
    EXPECT_EQ(window_.StateOf(2).position.frame, 0);
    widgets_.Advance(100);
    EXPECT_EQ(Shown(2), PictureId(2, PictureSet::Highlighted, 2));
    EXPECT_EQ(window_.StateOf(2).position.frame, 2);
}

TEST_F(AnimateItemsTest, AnIntervalOfZeroMeansNoAnimation) {
    MenuDefinition menu = testing::PictureMenu(1);
    menu.animationInterval = 0;
    testing::AddFrames(menu, 1, PictureSet::Normal, 3);
    menu.items[0].animationMode = 3;
    Load(menu);
    widgets_.Advance(5000);
    EXPECT_FALSE(widgets_.TimerRunning(window_.AnimationTimer()));
    EXPECT_EQ(Shown(1), PictureId(1, PictureSet::Normal, 0));
}

TEST_F(AnimateItemsTest, TheDescriptionPicturePlaysTheSelectedItemsFramesEvenWhenHidden) {
    MenuDefinition menu = testing::PictureMenu(2);
    testing::AddFrames(menu, 1, PictureSet::Description, 2);
    Load(menu);
    const ui::Picture& picture = *window_.Parts().descriptionPicture;
    widgets_.Advance(300);
    EXPECT_EQ(picture.Image(), nullptr) << "no item selected yet";

    widgets_.MouseMove(*Item(1).picture, 1, 1);
    std::vector<std::uint32_t> frames;
    for (int tick = 0; tick < 4; ++tick) {
        widgets_.Advance(100);
        frames.push_back(testing::ShownId(&picture));
    }
    EXPECT_EQ(frames, (std::vector<std::uint32_t>{PictureId(1, PictureSet::Description, 1),
                                                  PictureId(1, PictureSet::Description, 2),
                                                  PictureId(1, PictureSet::Description, 0),
                                                  PictureId(1, PictureSet::Description, 1)}));

    widgets_.MouseMove(*window_.Parts().background, 5, 5);
    EXPECT_FALSE(picture.Visible());
    widgets_.Advance(100);
    EXPECT_EQ(testing::ShownId(&picture), PictureId(1, PictureSet::Description, 2));
}

}  // namespace
}  // namespace ambrevo
