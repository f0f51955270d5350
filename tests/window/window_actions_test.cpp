// The window's part of the actions: the exit timer, the watch over a launched program, and
// the actions' failures reported from every control that launches.

#include <functional>
#include <memory>

#include "actions/action_dispatch.h"
#include "actions/missing_target_search.h"
#include "actions/viewer_detection.h"
#include "fakes/fake_shell_launcher.h"
#include "fakes/fake_version_info.h"
#include "fakes/fake_viewer_lookups.h"
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

// The window with the real actions behind its items.
class WindowLaunchTest : public WindowTest {
protected:
    WindowLaunchTest() { window_.SetItemLauncher(&dispatch_); }

    MessageSwitches switches_;
    FakeShellLauncher shell_;
    MissingTargetSearch search_{files_, app_, program_};
    FakeViewerLookups lookups_{files_};
    FakeVersionInfoReader versions_;
    ViewerDetection viewer_{lookups_, files_, versions_, program_};
    ActionDispatch dispatch_{{app_, dialogs_, program_, switches_, package_, sounds_, shell_,
                              debug_, files_, search_, viewer_},
                             window_};
};

// A switch to a menu whose last picture is damaged shows what was read of it and reports
// the damage once, whichever control chose the item.
TEST_F(WindowLaunchTest, ASwitchToADamagedMenuIsReportedOnceFromEveryControl) {
    MenuDefinition main = PictureMenu(2);
    main.items[0].target = "damaged.mnu";
    main.items[1].target = "damaged.mnu";
    main.items[1].kind = static_cast<std::int32_t>(ItemKind::WinBtn);
    std::vector<std::uint8_t> damaged =
        pack::WriteMenuBody(PictureMenu(1), pack::kLatestMenuVersion);
    damaged.back() ^= 0xFF;  // the zlib check of the last picture no longer matches
    InstallEntries({{"main.mnu", pack::WriteMenuBody(main, pack::kLatestMenuVersion)},
                    {"damaged.mnu", damaged}});
    const struct {
        const char* control;
        std::function<void()> choose;
    } ways[] = {
        {"picture released on",
         [&] {
             widgets_.MouseDown(*Item(1).picture, 1, 1);
             widgets_.MouseUp(*Item(1).picture, 1, 1);
         }},
        {"push button clicked", [&] { widgets_.Click(*Item(2).button); }},
        {"Enter on the picture item", [&] { widgets_.KeyPress(*Item(1).keyProxy, '\r'); }},
    };
    for (const auto& way : ways) {
        window_.LoadMenu("main.mnu");
        dialogs_.shown.clear();
        way.choose();
        widgets_.Advance(50);
        EXPECT_EQ(window_.CurrentMenuName(), "damaged.mnu") << way.control;
        EXPECT_TRUE(Form().Visible()) << way.control;
        EXPECT_EQ(dialogs_.shown,
                  (std::vector<FakeDialogs::Shown>{{"Error.", MessageKind::Error, app_.Title()}}))
            << way.control;
        EXPECT_FALSE(dispatch_.Busy()) << way.control;
    }
}

}  // namespace
}  // namespace ambrevo::testing
