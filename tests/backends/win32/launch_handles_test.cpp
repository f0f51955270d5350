// Launching a program that ends by itself, again and again, from an item that minimises the
// real menu window and restores it when the program ends: the process's kernel handle count
// stays where it was.

#include <gtest/gtest.h>
#include <windows.h>
// <windows.h> renames LoadMenu to LoadMenuA, which would miss the menu window's own.
#undef LoadMenu

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "actions/action_dispatch.h"
#include "actions/missing_target_search.h"
#include "actions/viewer_detection.h"
#include "backends/win32/services/win32_shell_launcher.h"
#include "fakes/fake_debug_output.h"
#include "fakes/fake_version_info.h"
#include "fakes/fake_viewer_lookups.h"
#include "real_menu_window.h"
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
    // One item that runs a program which ends at once, minimises the menu and watches it.
    const std::string endingProgram = TestFolder() + "ending_program.exe";
    MenuDefinition menu = testing::PictureMenu(1, 200, 100);
    MenuItem& item = menu.items.at(0);
    item.target = endingProgram;
    item.minimizeAfterLaunch = true;
    item.autoRestore = true;
    const std::vector<pack::PackageEntryData> entries{
        {"main.mnu", pack::WriteMenuBody(menu, pack::kLatestMenuVersion)}};
    RealMenuWindow real(entries);
    real.files.AddFile(endingProgram, "");  // the existence test before the launch
    real.window.LoadMenu("main.mnu");
    const HWND menuWindow = real.widgets.WindowOf(real.window.Form());

    Win32ShellLauncher shell([&] { return menuWindow; });
    MessageSwitches switches;
    testing::FakeDebugOutput debug;
    MissingTargetSearch search(real.files, real.app, real.program);
    testing::FakeViewerLookups lookups(real.files);
    testing::FakeVersionInfoReader versions;
    ViewerDetection viewer(lookups, real.files, versions, real.program);
    ActionDispatch dispatch({real.app, real.dialogs, real.program, switches, real.package,
                             real.sounds, shell, debug, real.files, search, viewer},
                            real.window);

    // Launches count times; every tenth launch waits until the menu is back, the others
    // replace the watch over the program before.
    const auto launch = [&](int count) {
        for (int i = 1; i <= count; ++i) {
            // The program may end, and the watch bring the menu back, before the launch
            // returns, so the minimised state is only waited on, never asserted here.
            dispatch.LaunchItem(1);
            if (i % 10 != 0) continue;
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (::IsIconic(menuWindow)) {
                ASSERT_LT(std::chrono::steady_clock::now(), end) << "launch " << i;
                real.widgets.ProcessMessages();
                ::Sleep(5);
            }
        }
    };
    ASSERT_NO_FATAL_FAILURE(launch(10));  // the shell's own handles, made once, are in place
    const long before = KernelHandlesInUse();
    ASSERT_NO_FATAL_FAILURE(launch(500));

    EXPECT_TRUE(real.dialogs.shown.empty());
    EXPECT_LE(KernelHandlesInUse() - before, 5) << "kernel handles before: " << before;
}

}  // namespace
}  // namespace ambrevo::win32
