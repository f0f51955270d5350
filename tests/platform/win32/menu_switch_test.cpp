// Switching menus in the real window many times leaves the GDI object count where it was.

#include <gtest/gtest.h>
#include <windows.h>

#include "fakes/fake_clock.h"
#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "platform/win32/win32_widgetset.h"
#include "ui/application.h"
#include "widgetset_fixture.h"
// <windows.h> renames LoadMenu to LoadMenuA, which would miss the menu window's own.
#undef LoadMenu
#include "window/menu_window.h"
#include "window/window_test_support.h"

namespace ambrevo::win32 {
namespace {

using testing::AddFrames;
using testing::PictureMenu;

TEST(MenuSwitchTest, ThousandLoadsKeepTheGdiObjectCountSteady) {
    testing::FakeFileSystem files;
    testing::FakeDialogs dialogs;
    testing::FakeDebugOutput debug;
    testing::FakeClock clock;
    ProgramInfo program{"E:\\disc\\", "setup.exe", "Ambrevo"};
    LoadError loadError;
    MenuPackage package(files, dialogs, program, loadError);

    // Two menus of different sizes and shapes, with animated, described items.
    MenuDefinition first = PictureMenu(5, 320, 200);
    first.shapeColor = 0;
    first.windowShape = "0320020000000010Y000300900100";
    MenuDefinition second = PictureMenu(3, 240, 160);
    for (MenuDefinition* menu : {&first, &second}) {
        menu->initialItem = 1;
        menu->scrollTitle = true;
        AddFrames(*menu, 1, PictureSet::Highlighted, 3);
        AddFrames(*menu, 1, PictureSet::Description, 2);
    }
    const std::vector<pack::PackageEntryData> entries{
        {"first.mnu", pack::WriteMenuBody(first, pack::kLatestMenuVersion)},
        {"second.mnu", pack::WriteMenuBody(second, pack::kLatestMenuVersion)}};
    const auto file = pack::WritePackage(std::vector<std::uint8_t>(16, 0x90), entries);
    files.AddFile("E:\\disc\\setup.exe", std::string(file.begin(), file.end()));
    package.OpenPackage(program.fileName);

    Win32Widgetset widgets(::GetModuleHandleA(nullptr), ::LoadIconA(nullptr, IDI_APPLICATION));
    ui::Application app(widgets, dialogs);
    widgets.Attach(app);
    testing::FakeSoundPlayer soundPlayer;
    SoundEffects sounds(soundPlayer, files, program, [&app] { app.ProcessMessages(); });
    TfrmMenuCls window(app, {package, program, dialogs, debug, clock}, sounds);
    window.BuildWindowParts();

    const auto switchMenus = [&](int times) {
        for (int i = 0; i < times; ++i) {
            window.LoadMenu(i % 2 == 0 ? "first.mnu" : "second.mnu");
            window.AnimateItems();
            window.Form().RedrawNow();
        }
    };
    switchMenus(10);  // fonts and brushes made once are in place
    const long before = GdiObjectsInUse();
    switchMenus(1000);
    widgets.ProcessMessages();

    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_LE(GdiObjectsInUse() - before, 2) << "GDI objects before: " << before;
    EXPECT_LE(widgets.CachedBitmapCount(), 40u) << "the DIBs of released pictures are freed";
}

}  // namespace
}  // namespace ambrevo::win32
