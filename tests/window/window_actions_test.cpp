// The window's part of the actions: the exit timer and the watch over a launched program.

#include <memory>

#include "fakes/fake_shell_launcher.h"
#include "window/window_test_support.h"

namespace ambrevo::testing {
namespace {

class WindowActionsTest : public WindowTest {
protected:
    std::unique_ptr<LaunchedProcess> Process() {
        return std::make_unique<FakeProcess>(running_, alive_);
    }
    std::shared_ptr<bool> running_ = std::make_shared<bool>(true);
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

TEST_F(WindowActionsTest, TheExitTimerEndsTheProgram200MillisecondsLater) {
    Load(PictureMenu(2));
    window_.StartExitTimer();
    widgets_.Advance(199);
    EXPECT_FALSE(app_.Terminated());
    widgets_.Advance(1);
    EXPECT_TRUE(app_.Terminated());
}

TEST_F(WindowActionsTest, TheMenuComesBackOnceTheWatchedProgramHasEnded) {
    Load(PictureMenu(2));
    const auto& record = widgets_.Record(Form());
    window_.WatchProcess(Process());
    widgets_.Advance(300);
    widgets_.Advance(300);
    EXPECT_EQ(widgets_.RestoreCalls(), 0);  // still running

    // A newer launch replaces the watched process; the older handle is released and the
    // timer keeps its pace.
    widgets_.Advance(100);
    window_.WatchProcess(Process());
    EXPECT_EQ(*alive_, 1);
    *running_ = false;
    widgets_.Advance(199);
    EXPECT_EQ(widgets_.RestoreCalls(), 0);
    widgets_.Advance(1);
    EXPECT_EQ(widgets_.RestoreCalls(), 1);
    EXPECT_EQ(record.focusFormCalls, 1);
    EXPECT_EQ(*alive_, 0);
    widgets_.Advance(3000);
    EXPECT_EQ(widgets_.RestoreCalls(), 1);  // the watch has ended

    // A launch that started no process brings the menu back at the first tick.
    window_.WatchProcess(nullptr);
    widgets_.Advance(300);
    EXPECT_EQ(widgets_.RestoreCalls(), 2);
}

TEST_F(WindowActionsTest, ItemsAreFoundByNumberOnlyWithinTheMenu) {
    Load(PictureMenu(2));
    ASSERT_NE(window_.ItemAt(2), nullptr);
    EXPECT_EQ(window_.ItemAt(2)->caption, "Item 2");
    EXPECT_EQ(window_.ItemAt(0), nullptr);
    EXPECT_EQ(window_.ItemAt(3), nullptr);
    window_.Hide();
    EXPECT_FALSE(Form().Visible());
    window_.SetEnabled(false);
    EXPECT_FALSE(Form().Enabled());
}

}  // namespace
}  // namespace ambrevo::testing
