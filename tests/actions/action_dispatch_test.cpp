#include "actions/action_dispatch.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "actions/missing_target_search.h"
#include "actions/viewer_detection.h"
#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_shell_launcher.h"
#include "fakes/fake_sound_player.h"
#include "fakes/fake_version_info.h"
#include "fakes/fake_viewer_lookups.h"
#include "fakes/headless_widgetset.h"
#include "pack/writer/package_writer.h"

namespace ambrevo::testing {
namespace {

// The menu window as the actions see it, recording what they ask of it.
class RecordingWindow : public ActionWindow {
public:
    const MenuItem* ItemAt(int n) const override {
        return n >= 1 && n <= static_cast<int>(items.size()) ? &items[n - 1] : nullptr;
    }
    const std::string& CurrentMenuName() const override { return menuName; }
    void LoadMenu(const std::string& name) override {
        loads.push_back(name);
        menuName = name;
        items = menus[name];  // the new menu's items replace the old
    }
    void Hide() override { hidden = true; }
    void SetEnabled(bool enabled) override { enabledChanges.push_back(enabled); }
    void StartExitTimer() override { exitTimerStarted = true; }
    void WatchProcess(std::unique_ptr<LaunchedProcess> process) override {
        ++watchCalls;
        watched = std::move(process);
    }

    std::vector<MenuItem> items;
    std::map<std::string, std::vector<MenuItem>> menus;  // the items each load shows
    std::string menuName = "main.mnu";
    std::vector<std::string> loads;
    bool hidden = false;
    std::vector<bool> enabledChanges;
    bool exitTimerStarted = false;
    int watchCalls = 0;
    std::unique_ptr<LaunchedProcess> watched;
};

class ActionDispatchTest : public ::testing::Test {
protected:
    ActionDispatchTest() {
        widgets_.Attach(app_);
        effects_.LoadBuiltInSounds(resources_);
        const std::vector<std::uint8_t> player(16, 0x90);
        const std::vector<pack::PackageEntryData> entries = {
            {"main.mnu", {1}}, {"other.mnu", {1}}, {"pdf.mnu", {1}}};
        const auto file = pack::WritePackage(player, entries);
        files_.AddFile(program_.folder + program_.fileName, std::string(file.begin(), file.end()));
        package_.OpenPackage(program_.fileName);
        files_.AddFile("E:\\menu\\docs\\manual.pdf", "");
        files_.AddFile("E:\\menu\\readme.txt", "");
        files_.AddFolder("E:\\Docs");
    }

    // Runs item 1 made of target and parameters, after the changes asked for.
    void Launch(const std::string& target, const std::string& parameters = "",
                const std::function<void(MenuItem&)>& change = {}) {
        MenuItem item;
        item.target = target;
        item.parameters = parameters;
        if (change) change(item);
        window_.items = {item};
        dispatch_.LaunchItem(1);
    }

    std::vector<std::string> Sounds() const {
        std::vector<std::string> names;
        for (const auto& played : sounds_.played) names.push_back(played.sound);
        return names;
    }

    ProgramInfo program_{"E:\\menu\\", "setup.exe", "Ambrevo"};
    FakeFileSystem files_;
    FakeDialogs dialogs_;
    HeadlessWidgetset widgets_;
    ui::Application app_{widgets_, dialogs_};
    MessageSwitches switches_;
    LoadError loadError_;
    MenuPackage package_{files_, dialogs_, program_, loadError_};
    FakeSoundPlayer sounds_;
    FakeProgramResources resources_;
    SoundEffects effects_{sounds_, files_, program_, [this] { app_.ProcessMessages(); }};
    FakeShellLauncher shell_;
    FakeDebugOutput debug_;
    MissingTargetSearch search_{files_, app_, program_};
    FakeViewerLookups lookups_{files_};
    FakeVersionInfoReader versions_;
    ViewerDetection viewer_{lookups_, files_, versions_, program_};
    RecordingWindow window_;
    ActionDispatch dispatch_{{app_, dialogs_, program_, switches_, package_, effects_, shell_,
                              debug_, files_, search_, viewer_},
                             window_};
};

TEST_F(ActionDispatchTest, ShellLaunchesTakeTheTargetConventions) {
    struct Case {
        std::string target;
        std::string parameters;
        int showMode;
        ShellRequest expected;
    };
    lookups_.programs[".htm"] = "C:\\Browser\\browse.exe";
    files_.AddFile("C:\\WINDOWS\\index.htm", "");
    const std::vector<Case> cases = {
        // A hidden run ignores parameters and showMode and expands %CD% in its target.
        {"%NOPROC%%CD%:\\setup.exe", "-x", 0, {"open", "E:\\setup.exe", "", "E:\\", kShowHide}},
        {"%docs/manual.pdf",
         "",
         0,
         {"open", "E:\\menu\\docs\\manual.pdf", "", "E:\\menu\\docs\\", kShowNormal}},
        {"%readme.txt",
         "/path=%CD%:\\data",
         1,
         {"open", "E:\\menu\\readme.txt", "/path=E:\\data", "E:\\menu\\", kShowMaximized}},
        {"%readme.txt",
         "notes.txt",
         -1,
         {"open", "E:\\menu\\readme.txt", "\"notes.txt\"", "E:\\menu\\", kShowMaximized}},
        {"%readme.txt", "", 2, {"open", "E:\\menu\\readme.txt", "", "E:\\menu\\", kShowHide}},
        {"\\Docs\\", "", 0, {"explore", "E:\\Docs\\", "", "E:\\Docs\\", kShowNormal}},
        // Web addresses go to the browser as its parameter; the item's own are dropped.
        {"www.example.org/a",
         "ignored",
         0,
         {"open", "C:\\Browser\\browse.exe", "\"www.example.org/a\"", "", kShowNormal}},
        {"mailto:someone@example.org",
         "",
         0,
         {"open", "mailto:someone@example.org", "", "", kShowNormal}},
        // Not a menu of the package but a relative path, searched for and not found.
        {"sub\\other.mnu", "", 0, {"open", "sub\\other.mnu", "", "sub\\", kShowNormal}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        shell_.requests.clear();
        Launch(c.target, c.parameters, [&](MenuItem& item) { item.showMode = c.showMode; });
        ASSERT_EQ(shell_.requests.size(), 1u);
        const ShellRequest& got = shell_.requests[0];
        EXPECT_EQ(got.verb, c.expected.verb);
        EXPECT_EQ(got.file, c.expected.file);
        EXPECT_EQ(got.parameters, c.expected.parameters);
        EXPECT_EQ(got.folder, c.expected.folder);
        EXPECT_EQ(got.showCommand, c.expected.showCommand);
        EXPECT_FALSE(dispatch_.Busy());
    }
}

TEST_F(ActionDispatchTest, SpecialTargetsSoundShowOrSwitchWithoutTheShell) {
    struct Case {
        std::string target;
        std::vector<std::string> sounds;
        std::vector<FakeDialogs::Shown> boxes;
        std::vector<std::string> loads;
    };
    files_.AddFile("E:\\menu\\click.wav", "");
    const std::vector<Case> cases = {
        {"*", {}, {}, {}},
        {"$Line one\u00B6Line two",
         {"file E:\\menu\\click.wav"},
         {{"Line one\rLine two", MessageKind::Information, "Ambrevo"}},
         {}},
        {"Other.MNU", {"file E:\\menu\\click.wav", "clip WAVE/CHANGE_WAV"}, {}, {"other.mnu"}},
        {"Gone.mnu",
         {"file E:\\menu\\click.wav"},
         {{"Could not find menu:\rgone.mnu", MessageKind::Warning, "Ambrevo"}},
         {}},
        {"", {"file E:\\menu\\click.wav"}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        sounds_.played.clear();
        dialogs_.shown.clear();
        window_.loads.clear();
        window_.menuName = "main.mnu";
        Launch(c.target);
        EXPECT_TRUE(shell_.requests.empty());
        EXPECT_EQ(Sounds(), c.sounds);
        EXPECT_EQ(dialogs_.shown, c.boxes);
        EXPECT_EQ(window_.loads, c.loads);
        EXPECT_FALSE(dispatch_.Busy());
    }
    // "*" sounds only its own file, and never a click.
    files_.AddFile("E:\\menu\\noaction.wav", "");
    sounds_.played.clear();
    Launch("*");
    EXPECT_EQ(sounds_.played,
              (std::vector<FakeSoundPlayer::Played>{{"file E:\\menu\\noaction.wav", true}}));
    // An empty target does not wait for its click.
    sounds_.played.clear();
    Launch("");
    EXPECT_EQ(sounds_.played,
              (std::vector<FakeSoundPlayer::Played>{{"file E:\\menu\\click.wav", false}}));
}

TEST_F(ActionDispatchTest, ShellFailuresGiveTheirMessageOrFallbackMenu) {
    struct Case {
        int error;
        bool switchOn;
        std::string target;
        std::vector<FakeDialogs::Shown> boxes;
        std::vector<std::string> loads;
        int minimized;  // the after-launch steps run only for other failures
    };
    const std::string notFound = "Ambrevo cannot find the specified file:\r\r%gone/file.doc";
    const std::string noViewer =
        "You do not appear to have a suitable viewer (or version) able to open the "
        "file:\r\n\r\n%readme.xyz";
    const std::vector<Case> cases = {
        {kShellFileNotFound,
         true,
         "%gone/file.doc",
         {{notFound, MessageKind::Information, "Ambrevo"}},
         {},
         0},
        {kShellFileNotFound, false, "%gone/file.doc", {}, {}, 0},
        {kShellNoAssociation, true, "%manual.pdf", {}, {"pdf.mnu"}, 0},
        {kShellNoAssociation,
         true,
         "%readme.xyz",
         {{noViewer, MessageKind::Warning, "Ambrevo"}},
         {},
         0},
        {kShellNoAssociation, false, "%readme.xyz", {}, {}, 0},
        {5, true, "%readme.txt", {}, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target + " error " + std::to_string(c.error));
        dialogs_.shown.clear();
        window_.loads.clear();
        const int minimizedBefore = widgets_.MinimizeCalls();
        shell_.errorCode = c.error;
        switches_.showFileNotFoundMessage = c.switchOn;
        switches_.showNoViewerMessage = c.switchOn;
        Launch(c.target, "", [](MenuItem& item) { item.minimizeAfterLaunch = true; });
        EXPECT_EQ(dialogs_.shown, c.boxes);
        EXPECT_EQ(window_.loads, c.loads);
        EXPECT_EQ(widgets_.MinimizeCalls() - minimizedBefore, c.minimized);
        EXPECT_FALSE(dispatch_.Busy());
    }
    EXPECT_EQ(*shell_.aliveProcesses, 0);
}

TEST_F(ActionDispatchTest, ALaunchRefusedByPolicyNamesTheFileAndTheSecuritySettings) {
    struct Case {
        int shellError;
        int systemError;
        std::vector<FakeDialogs::Shown> boxes;
        std::vector<std::string> trace;
        int minimized;  // the after-launch steps run only for failures that are no refusal
    };
    const std::string refused =
        "Ambrevo could not open the file: Windows' security settings refused to run "
        "it:\r\rE:\\menu\\readme.txt";
    const auto trace = [](const std::string& what) {
        return std::vector<std::string>{
            "**** Windows refused to run E:\\menu\\readme.txt: " + what + " **** "};
    };
    const std::vector<Case> cases = {
        {5,
         4551,
         {{refused, MessageKind::Warning, "Ambrevo"}},
         trace("error 4551 (ERROR_SYSTEM_INTEGRITY_POLICY_VIOLATION), shell error 5"),
         0},
        {5,
         1260,
         {{refused, MessageKind::Warning, "Ambrevo"}},
         trace("error 1260 (ERROR_ACCESS_DISABLED_BY_POLICY), shell error 5"),
         0},
        {5,
         786,
         {{refused, MessageKind::Warning, "Ambrevo"}},
         trace("error 786 (ERROR_ACCESS_DISABLED_NO_SAFER_UI_BY_POLICY), shell error 5"),
         0},
        // A refusal is never told as a missing file, whatever the shell's own code.
        {kShellFileNotFound,
         4551,
         {{refused, MessageKind::Warning, "Ambrevo"}},
         trace("error 4551 (ERROR_SYSTEM_INTEGRITY_POLICY_VIOLATION), shell error 2"),
         0},
        // 1265 is no refusal by policy (a downgrade detected by authentication).
        {5, 1265, {}, {}, 1},
        {kShellFileNotFound,
         2,
         {{"Ambrevo cannot find the specified file:\r\r%readme.txt", MessageKind::Information,
           "Ambrevo"}},
         {},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("system error " + std::to_string(c.systemError));
        dialogs_.shown.clear();
        debug_.lines.clear();
        window_.enabledChanges.clear();
        const int minimizedBefore = widgets_.MinimizeCalls();
        shell_.errorCode = c.shellError;
        shell_.systemError = c.systemError;
        Launch("%readme.txt", "", [](MenuItem& item) { item.minimizeAfterLaunch = true; });
        EXPECT_EQ(dialogs_.shown, c.boxes);
        EXPECT_EQ(debug_.lines, c.trace);
        EXPECT_EQ(widgets_.MinimizeCalls() - minimizedBefore, c.minimized);
        if (c.minimized == 0) {
            EXPECT_EQ(window_.enabledChanges, std::vector<bool>{true});
        }
        EXPECT_FALSE(dispatch_.Busy());
    }
}

TEST_F(ActionDispatchTest, ACancelledSecurityPromptLeavesTheMenuAsItWas) {
    shell_.errorCode = 5;  // what the shell gives with the cancel
    shell_.cancelled = true;
    shell_.startsProcess = false;
    Launch("%setup.exe", "", [](MenuItem& item) {
        item.exitAfterLaunch = true;
        item.minimizeAfterLaunch = true;
    });
    EXPECT_EQ(shell_.requests.size(), 1u);
    EXPECT_FALSE(window_.hidden);
    EXPECT_FALSE(window_.exitTimerStarted);
    EXPECT_FALSE(app_.Terminated());
    EXPECT_EQ(widgets_.MinimizeCalls(), 0);
    ASSERT_FALSE(window_.enabledChanges.empty());
    EXPECT_TRUE(window_.enabledChanges.back());
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_FALSE(dispatch_.Busy());
}

TEST_F(ActionDispatchTest, AfterTheLaunchTheMenuExitsMinimisesOrWatchesTheProgram) {
    Launch("", "", [](MenuItem& item) { item.exitAfterLaunch = true; });
    EXPECT_TRUE(window_.hidden);
    EXPECT_TRUE(window_.exitTimerStarted);
    EXPECT_TRUE(app_.Terminated());

    // Folders and mail programs are never watched; their process is released at once.
    for (const std::string target : {"\\Docs\\", "mailto:a@example.org", "%readme.txt"}) {
        SCOPED_TRACE(target);
        window_.watchCalls = 0;
        window_.watched.reset();
        Launch(target, "", [](MenuItem& item) { item.autoRestore = true; });
        const bool watched = target == "%readme.txt";
        EXPECT_EQ(window_.watchCalls, watched ? 1 : 0);
        EXPECT_EQ(*shell_.aliveProcesses, watched ? 1 : 0);
    }
    // A newer watch releases the older process.
    Launch("%readme.txt", "", [](MenuItem& item) { item.autoRestore = true; });
    EXPECT_EQ(*shell_.aliveProcesses, 1);
    window_.watched.reset();
    Launch("%readme.txt");
    EXPECT_EQ(*shell_.aliveProcesses, 0);
}

// Only a launch the program ends right after asks the shell to finish it first.
TEST_F(ActionDispatchTest, OnlyALaunchBeforeTheExitAsksTheShellToFinishIt) {
    const struct {
        const char* target;
        bool exit;
        bool minimize;
    } cases[] = {
        {"%readme.txt", true, false},        {"%NOPROC%setup.exe", true, false},
        {"%readme.txt", false, false},       {"%readme.txt", false, true},
        {"%NOPROC%setup.exe", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.target) + (c.exit ? " exit" : ""));
        shell_.requests.clear();
        Launch(c.target, "", [&](MenuItem& item) {
            item.exitAfterLaunch = c.exit;
            item.minimizeAfterLaunch = c.minimize;
        });
        ASSERT_EQ(shell_.requests.size(), 1u);
        EXPECT_EQ(shell_.requests[0].finishBeforeReturn, c.exit);
    }
}

TEST_F(ActionDispatchTest, AMissingTargetIsSearchedAfterOneClickSound) {
    files_.AddFile("E:\\menu\\click.wav", "");
    files_.AddFile("E:\\menu\\setup.exe", "");
    Launch("setup.exe");  // relative, and not in the working folder
    ASSERT_EQ(shell_.requests.size(), 1u);
    EXPECT_EQ(shell_.requests[0].file, "E:\\menu\\setup.exe");
    EXPECT_EQ(shell_.requests[0].folder, "E:\\menu\\");
    EXPECT_EQ(Sounds(), std::vector<std::string>{"file E:\\menu\\click.wav"});

    // Not found: the shell gets the path unchanged and its message quotes the stored target.
    shell_.errorCode = kShellFileNotFound;
    sounds_.played.clear();
    Launch("%nowhere/x.doc");
    EXPECT_EQ(shell_.requests.back().file, "E:\\menu\\nowhere\\x.doc");
    EXPECT_EQ(Sounds(), std::vector<std::string>{"file E:\\menu\\click.wav"});
    EXPECT_EQ(dialogs_.shown.back().text,
              "Ambrevo cannot find the specified file:\r\r%nowhere/x.doc");
}

// A path in double quotes is looked for and worked in without them; the shell gets it
// quoted, and so the parameters as written.
TEST_F(ActionDispatchTest, AQuotedFileTargetIsCheckedWithoutItsQuotes) {
    files_.AddFile("C:\\Program Files\\V\\v.exe", "");
    files_.AddFile("E:\\menu\\moved.exe", "");
    const struct {
        const char* target;
        const char* file;
        const char* parameters;
        const char* folder;
        bool searched;
    } cases[] = {
        {"\"C:\\Program Files\\V\\v.exe\"", "\"C:\\Program Files\\V\\v.exe\"", "a.txt",
         "C:\\Program Files\\V\\", false},
        {"C:/Program Files/V/v.exe", "C:\\Program Files\\V\\v.exe", "\"a.txt\"",
         "C:\\Program Files\\V\\", false},
        {"\"%readme.txt\"", "\"E:\\menu\\readme.txt\"", "a.txt", "E:\\menu\\", false},
        {"\"\\Old\\moved.exe\"", "\"E:\\menu\\moved.exe\"", "a.txt", "E:\\menu\\", true},
        {"\"X:\\Gone\\x.exe\"", "\"X:\\Gone\\x.exe\"", "a.txt", "X:\\Gone\\", true},
    };
    // A search sounds the click before it starts, a file found at once after the launch.
    files_.AddFile("E:\\menu\\click.wav", "");
    bool clickedBeforeLaunch = false;
    shell_.onLaunch = [&] { clickedBeforeLaunch = !sounds_.played.empty(); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        shell_.requests.clear();
        sounds_.played.clear();
        Launch(c.target, "a.txt");
        ASSERT_EQ(shell_.requests.size(), 1u);
        EXPECT_EQ(shell_.requests[0].file, c.file);
        EXPECT_EQ(shell_.requests[0].parameters, c.parameters);
        EXPECT_EQ(shell_.requests[0].folder, c.folder);
        EXPECT_EQ(clickedBeforeLaunch, c.searched);
    }
}

// The menu's close ends the application; during the drive walk of the search it cancels
// the walk at the next folder and the launch.
TEST_F(ActionDispatchTest, ClosingTheMenuDuringTheSearchLaunchesNothing) {
    for (int i = 1; i < 40; ++i) files_.AddFolder("E:\\f" + std::to_string(i));
    std::function<void()> closeAtTheTwentyFifthFolder = [&] {
        if (files_.listed.size() == 25) {
            app_.Terminate();
        } else {
            widgets_.InjectDuringProcessMessages(closeAtTheTwentyFifthFolder);
        }
    };
    widgets_.InjectDuringProcessMessages(closeAtTheTwentyFifthFolder);
    Launch("\\gone\\x.exe");
    // The folder taken when the close came is still listed, no other.
    EXPECT_EQ(files_.listed.size(), 26u);
    EXPECT_TRUE(shell_.requests.empty());
    EXPECT_TRUE(app_.Forms().empty());  // the search window has gone
    EXPECT_FALSE(dispatch_.Busy());
}

TEST_F(ActionDispatchTest, OneActionAtATimeAndBusyEndsOnEveryWayOut) {
    // An item chosen while an action processes messages is dropped.
    int nested = 0;
    shell_.onLaunch = [&] {
        app_.ProcessMessages();
        widgets_.InjectDuringProcessMessages([&] {
            ++nested;
            dispatch_.LaunchItem(1);
        });
    };
    Launch("%readme.txt");
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(shell_.requests.size(), 1u);

    // An unexpected failure inside leaves the dispatch free for the next action.
    shell_.onLaunch = [] { throw std::runtime_error("broken"); };
    EXPECT_THROW(Launch("%readme.txt"), std::runtime_error);
    EXPECT_FALSE(dispatch_.Busy());
    shell_.onLaunch = nullptr;
    Launch("%readme.txt");
    EXPECT_EQ(shell_.requests.size(), 3u);

    // No such item: nothing at all.
    window_.items.clear();
    dispatch_.LaunchItem(1);
    dispatch_.LaunchItem(0);
    EXPECT_EQ(shell_.requests.size(), 3u);
}

// An item chosen while another's launch processes its first messages runs first: when it
// puts another menu on show, the item chosen first is gone and nothing more is launched.
TEST_F(ActionDispatchTest, ALaunchNestedBeforeItsGuardIsDroppedWhenTheMenuChanged) {
    MenuItem readme;
    readme.target = "%readme.txt";
    MenuItem switchToOther;
    switchToOther.target = "other.mnu";
    window_.menus["other.mnu"] = {readme};
    const struct {
        const char* what;
        int nestedItem;
        std::size_t launches;
        std::vector<std::string> loads;
    } cases[] = {
        {"two presses on one item launch twice", 1, 2, {}},
        {"a switch drops the first press", 2, 0, {"other.mnu"}},
    };
    for (const auto& c : cases) {
        window_.items = {readme, switchToOther};
        window_.loads.clear();
        shell_.requests.clear();
        widgets_.InjectDuringProcessMessages([&] { dispatch_.LaunchItem(c.nestedItem); });
        dispatch_.LaunchItem(1);
        EXPECT_EQ(shell_.requests.size(), c.launches) << c.what;
        EXPECT_EQ(window_.loads, c.loads) << c.what;
        EXPECT_FALSE(dispatch_.Busy()) << c.what;
    }
}

// The program runs from E:\; the installed reader, version 7.0, satisfies "at least 6.0".
TEST_F(ActionDispatchTest, TheWorkedExampleOpensTheManualInTheCheckedViewer) {
    program_.folder = "E:\\";
    files_.AddFile("E:\\docs\\manual.pdf", "");
    lookups_.programs[".pdf"] = "C:\\Reader\\reader.exe";
    versions_.resources["C:\\Reader\\reader.exe"] = {"Adobe Reader", "", "", "", {{7, 0}}};
    Launch("%docs/manual.pdf", "", [](MenuItem& item) {
        item.checkViewer = 1;
        item.viewerName = "Adobe Acrobat";
        item.viewerVersion = "6.0";
        item.viewerVersionMode = 1;
        item.autoRestore = true;
        item.minimizeAfterLaunch = true;
    });
    ASSERT_EQ(shell_.requests.size(), 1u);
    EXPECT_EQ(shell_.requests[0].file, "manual.pdf");
    EXPECT_EQ(shell_.requests[0].folder, "E:\\docs\\");
    EXPECT_EQ(shell_.requests[0].showCommand, kShowNormal);
    EXPECT_EQ(window_.watchCalls, 1);
    EXPECT_EQ(widgets_.MinimizeCalls(), 1);

    // The same item asking for exactly 6.0 fails its check: the pdf menu opens instead.
    Launch("%docs/manual.pdf", "", [](MenuItem& item) {
        item.checkViewer = 1;
        item.viewerName = "Adobe Acrobat";
        item.viewerVersion = "6.0";
    });
    EXPECT_EQ(shell_.requests.size(), 1u);
    EXPECT_EQ(window_.loads, std::vector<std::string>{"pdf.mnu"});
}

}  // namespace
}  // namespace ambrevo::testing
