#include "window/window_shape.h"

#include <gtest/gtest.h>

#include "window_test_support.h"

namespace ambrevo {
namespace {

constexpr ColorRef kWhite = 0xFFFFFF;

TEST(BuildShapeRegionTest, CutsTheListedRunsOutOfTheRectangle) {
    EXPECT_EQ(BuildShapeRegion("0100005000000010Y000300900100"),
              (ui::Region{{0, 0, 100, 50}, {{0, 0, 10, 1}, {90, 2, 10, 1}}}));
    EXPECT_EQ(BuildShapeRegion("01000050"), (ui::Region{{0, 0, 100, 50}, {}}));
    // A run that ends where it starts cuts nothing.
    EXPECT_EQ(BuildShapeRegion("0100005000050005"), (ui::Region{{0, 0, 100, 50}, {}}));
    for (const char* notARunList : {"", "0100005", "01OO0050", "0100005000000010Yxxxx0090"}) {
        EXPECT_EQ(BuildShapeRegion(notARunList), std::nullopt) << notARunList;
    }
}

class WindowShapeTest : public testing::WindowTest {
protected:
    MenuDefinition Menu(int width, int height, ColorRef shapeColor, std::string shape) {
        MenuDefinition menu = testing::PictureMenu(1, width, height);
        menu.shapeColor = shapeColor;
        menu.windowShape = std::move(shape);
        return menu;
    }
    void LoadMenus(const std::vector<MenuDefinition>& menus) {
        for (const MenuDefinition& menu : menus) Load(menu);
    }
};

TEST_F(WindowShapeTest, ARegionOnceSetIsReplacedByEachLaterMenusOwnOutline) {
    const std::string shape = "0300020000000010Y000300900100";
    LoadMenus({Menu(300, 200, kWhite, shape)});
    EXPECT_EQ(Form().Shape(), BuildShapeRegion(shape));

    LoadMenus({Menu(200, 100, -1, "placeholder")});
    EXPECT_EQ(Form().Shape(), (ui::Region{{0, 0, 200, 100}, {}}));

    // A shape that cannot be read gives the plain rectangle too, not the earlier outline.
    LoadMenus({Menu(120, 80, kWhite, "0120008000x0")});
    EXPECT_EQ(Form().Shape(), (ui::Region{{0, 0, 120, 80}, {}}));

    window_.ReleaseRegion();
    EXPECT_EQ(Form().Shape(), std::nullopt);
}

TEST_F(WindowShapeTest, AWindowNeverShapedGetsNoRegion) {
    const struct {
        const char* name;
        std::vector<MenuDefinition> menus;
    } cases[] = {
        {"no shape", {Menu(300, 200, -1, "0300020000000010"), Menu(200, 100, -1, "")}},
        {"unreadable shape", {Menu(300, 200, kWhite, "shape"), Menu(200, 100, -1, "")}},
    };
    for (const auto& c : cases) {
        LoadMenus(c.menus);
        EXPECT_EQ(Form().Shape(), std::nullopt) << c.name;
        EXPECT_EQ(widgets_.Record(Form()).regionChanges, 0) << c.name;
    }
}

}  // namespace
}  // namespace ambrevo
