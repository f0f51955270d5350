// Switching menus in the real window many times leaves the GDI object count where it was,
// and leaves no accessible object behind while a screen reader asks for one on every menu.

#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, which it needs.
#include <oleacc.h>

#include "real_menu_window.h"
// After real_menu_window.h, which keeps <windows.h> from renaming LoadMenu.
#include "accessibility/menu_accessibility.h"
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

// Spelled out: MinGW's oleacc import library gives IID_IAccessible as a thunk.
constexpr IID kIAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

TEST(MenuSwitchTest, ThousandSwitchesUnderAScreenReaderLeaveNoAccessibleObject) {
    const std::vector<pack::PackageEntryData> entries{
        {"first.mnu", pack::WriteMenuBody(PictureMenu(5, 320, 200), pack::kLatestMenuVersion)},
        {"second.mnu", pack::WriteMenuBody(PictureMenu(3, 240, 160), pack::kLatestMenuVersion)}};
    RealMenuWindow real(entries);
    TfrmMenuCls& window = real.window;
    MenuAccessibility accessibility(window);
    ASSERT_EQ(::CoInitialize(nullptr), S_OK);
    const HWND form = real.widgets.WindowOf(window.Form());

    for (int i = 0; i < 1000; ++i) {
        window.LoadMenu(i % 2 == 0 ? "first.mnu" : "second.mnu");
        IAccessible* object = nullptr;
        ASSERT_EQ(::AccessibleObjectFromWindow(form, static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                               reinterpret_cast<void**>(&object)),
                  S_OK)
            << "switch " << i;
        long children = 0;
        ASSERT_EQ(object->get_accChildCount(&children), S_OK);
        EXPECT_EQ(children, i % 2 == 0 ? 5 : 3);

        // The next menu replaces the elements: the object the reader holds answers no more,
        // and the window keeps no reference to it, so the reader's release is the last.
        window.LoadMenu(i % 2 == 0 ? "second.mnu" : "first.mnu");
        EXPECT_EQ(object->get_accChildCount(&children), CO_E_OBJNOTCONNECTED);
        ASSERT_EQ(object->Release(), 0u) << "switch " << i;
    }
    ::CoUninitialize();
}

}  // namespace
}  // namespace ambrevo::win32
