// Switching menus in the real window many times leaves the GDI object count where it was.

#include <gtest/gtest.h>
#include <windows.h>

#include "real_menu_window.h"
#include "widgetset_fixture.h"
#include "window/window_test_support.h"

namespace ambrevo::win32 {
namespace {

using testing::AddFrames;
using testing::PictureMenu;

TEST(MenuSwitchTest, ThousandLoadsKeepTheGdiObjectCountSteady) {
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
    RealMenuWindow real(entries);
    TfrmMenuCls& window = real.window;

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
    real.widgets.ProcessMessages();

    EXPECT_TRUE(real.dialogs.shown.empty());
    EXPECT_LE(GdiObjectsInUse() - before, 2) << "GDI objects before: " << before;
    EXPECT_LE(real.widgets.CachedBitmapCount(), 40u) << "the DIBs of released pictures are freed";
}

}  // namespace
}  // namespace ambrevo::win32
