#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "backends/win32/widgetset/win32_widgetset.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_sound_player.h"
#include "pack/writer/package_writer.h"
#include "ui/application.h"
// <windows.h> renames LoadMenu to LoadMenuA, which would miss the menu window's own.
#undef LoadMenu
#include "window/menu_window.h"

namespace ambrevo::win32 {

// An application whose widgetset runs its events from the start, as the window's timers
// need.
struct AttachedApplication : ui::Application {
    AttachedApplication(Win32Widgetset& widgets, Dialogs& dialogs)
        : ui::Application(widgets, dialogs) {
        widgets.Attach(*this);
    }
};

// The menu window on the real widgetset, with its fixed parts, reading its menus from a
// package in a program file held in memory; the other services are recording fakes.
struct RealMenuWindow {
    explicit RealMenuWindow(const std::vector<pack::PackageEntryData>& entries) {
        const auto file = pack::WritePackage(std::vector<std::uint8_t>(16, 0x90), entries);
        files.AddFile(program.folder + program.fileName, std::string(file.begin(), file.end()));
        package.OpenPackage(program.fileName);
        window.BuildWindowParts();
    }

    ambrevo::testing::FakeFileSystem files;
    ambrevo::testing::FakeDialogs dialogs;
    ambrevo::testing::FakeDebugOutput debug;
    ambrevo::testing::FakeClock clock;
    ProgramInfo program{"E:\\disc\\", "setup.exe", "Ambrevo"};
    LoadError loadError;
    MenuPackage package{files, dialogs, program, loadError};
    Win32Widgetset widgets{::GetModuleHandleA(nullptr), ::LoadIconA(nullptr, IDI_APPLICATION)};
    AttachedApplication app{widgets, dialogs};
    ambrevo::testing::FakeSoundPlayer soundPlayer;
    SoundEffects sounds{soundPlayer, files, program, [this] { app.ProcessMessages(); }};
    TfrmMenuCls window{app, {package, program, dialogs, debug, clock}, sounds};
};

}  // namespace ambrevo::win32
