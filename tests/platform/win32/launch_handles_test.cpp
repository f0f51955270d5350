// Launching a program that ends by itself, again and again, from an item that minimises the
// real menu window and restores it when the program ends: the process's kernel handle count
// stays where it was.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "actions/missing_target_search.h"
#include "actions/viewer_detection.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_sound_player.h"
#include "fakes/fake_version_info.h"
#include "fakes/fake_viewer_lookups.h"
#include "platform/win32/win32_shell_launcher.h"
#include "platform/win32/win32_widgetset.h"
#include "ui/application.h"
// <windows.h> renames LoadMenu to LoadMenuA, which would miss the menu window's own.
#undef LoadMenu
#include "actions/action_dispatch.h"
#include "window/menu_window.h"
#include "window/window_test_support.h"

namespace ambrevo::win32 {
namespace {

// Kernel handles the process holds. Wine answers 0 to GetProcessHandleCount, so every
// handle value of the table's first 16384 slots is asked about instead (Wine hands out the
// lowest free slot, so a leak shows there).
long KernelHandlesInUse() {
    long count = 0;
    for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

std::string TestFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

TEST(LaunchHandlesTest, FiveHundredLaunchesWithAutoRestoreKeepTheHandleCountLevel) {
    testing::FakeFileSystem files;
    testing::FakeDialogs dialogs;
    testing::FakeDebugOutput debug;
    testing::FakeClock clock;
    ProgramInfo program{"E:\\disc\\", "setup.exe", "Ambrevo"};
    LoadError loadError;
    MenuPackage package(files, dialogs, program, loadError);

    // One item that runs a program which ends at once, minimises the menu and watches it.
    const std::string endingProgram = TestFolder() + "ending_program.exe";
    MenuDefinition menu = testing::PictureMenu(1, 200, 100);
    MenuItem& item = menu.items.at(0);
    item.target = endingProgram;
    item.minimizeAfterLaunch = true;
    item.autoRestore = true;
    const std::vector<pack::PackageEntryData> entries{
        {"main.mnu", pack::WriteMenuBody(menu, pack::kLatestMenuVersion)}};
    const auto file = pack::WritePackage(std::vector<std::uint8_t>(16, 0x90), entries);
    files.AddFile("E:\\disc\\setup.exe", std::string(file.begin(), file.end()));
    files.AddFile(endingProgram, "");  // the existence test before the launch
    package.OpenPackage(program.fileName);

    Win32Widgetset widgets(::GetModuleHandleA(nullptr), ::LoadIconA(nullptr, IDI_APPLICATION));
    ui::Application app(widgets, dialogs);
    widgets.Attach(app);
    testing::FakeSoundPlayer soundPlayer;
    SoundEffects sounds(soundPlayer, files, program, [&app] { app.ProcessMessages(); });
    TfrmMenuCls window(app, {package, program, dialogs, debug, clock}, sounds);
    window.BuildWindowParts();
    window.LoadMenu("main.mnu");
    const HWND menuWindow = widgets.WindowOf(window.Form());

    Win32ShellLauncher shell([&] { return menuWindow; });
    MessageSwitches switches;
    MissingTargetSearch search(files, app, program);
    testing::FakeViewerLookups lookups(files);
    testing::FakeVersionInfoReader versions;
    ViewerDetection viewer(lookups, files, versions, program);
    ActionDispatch dispatch(
        {app, dialogs, program, switches, package, sounds, shell, files, search, viewer},
        window);

    // Launches count times; every tenth launch waits until the menu is back, the others
    // replace the watch over the program before.
    const auto launch = [&](int count) {
        for (int i = 1; i <= count; ++i) {
            dispatch.LaunchItem(1);
            ASSERT_TRUE(::IsIconic(menuWindow)) << "launch " << i << " minimises the menu";
            if (i % 10 != 0) continue;
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (::IsIconic(menuWindow)) {
                ASSERT_LT(std::chrono::steady_clock::now(), end) << "launch " << i;
                widgets.ProcessMessages();
                ::Sleep(5);
            }
        }
    };
    ASSERT_NO_FATAL_FAILURE(launch(10));  // the shell's own handles, made once, are in place
    const long before = KernelHandlesInUse();
    ASSERT_NO_FATAL_FAILURE(launch(500));

    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_LE(KernelHandlesInUse() - before, 5) << "kernel handles before: " << before;
}

}  // namespace
}  // namespace ambrevo::win32
