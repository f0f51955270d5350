#include "graphics/display_scale.h"

#include <gtest/gtest.h>

namespace ambrevo::ui {
namespace {

TEST(DisplayScaleTest, ConvertsRectanglesEdgeByEdgeAndPointsBackToTheirMenuPixel) {
    struct Case {
        int dpi;
        Rect menu;
        Rect device;
        Point devicePoint;
        Point menuPoint;
    };
    const Case cases[] = {
        {96, {3, 5, 7, 9}, {3, 5, 7, 9}, {11, -4}, {11, -4}},
        // 125 %: 3 -> 3.75 -> 4, 10 -> 12.5 -> 13 (halves up); device 4 is menu 3.
        {120, {3, 5, 7, 9}, {4, 6, 9, 12}, {4, 12}, {3, 9}},
        // 150 %: 1 -> 1.5 -> 2, so device pixel 1 still belongs to menu pixel 0.
        {144, {1, 1, 1, 2}, {2, 2, 1, 3}, {1, 2}, {0, 1}},
        {144, {-3, 10, 4, 4}, {-4, 15, 6, 6}, {-5, -1}, {-4, -1}},
        {192, {3, 5, 7, 9}, {6, 10, 14, 18}, {7, 19}, {3, 9}},
        {192, {-1, 0, 1, 1}, {-2, 0, 2, 2}, {-1, -2}, {-1, -1}},
        // An unknown DPI counts as 96.
        {0, {3, 5, 7, 9}, {3, 5, 7, 9}, {8, 8}, {8, 8}},
    };
    for (const Case& c : cases) {
        const DisplayScale scale(c.dpi);
        EXPECT_EQ(scale.ToDevice(c.menu), c.device) << c.dpi;
        EXPECT_EQ(scale.ToMenu(c.devicePoint), c.menuPoint) << c.dpi;
    }
}

// Rectangles that tile a row in menu coordinates tile it on the screen, and a device pixel
// lies on the screen rectangle of exactly the item its menu point hits: what is drawn and
// what is clicked agree at every pixel.
TEST(DisplayScaleTest, AHoverOrClickHitsTheItemDrawnUnderThePointer) {
    const Rect items[] = {{0, 0, 7, 5}, {7, 0, 3, 5}, {10, 0, 1, 5}, {11, 0, 13, 5}};
    for (const int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        const DisplayScale scale(dpi);
        for (int i = 1; i < 4; ++i) {
            const Rect before = scale.ToDevice(items[i - 1]);
            EXPECT_EQ(before.left + before.width, scale.ToDevice(items[i]).left) << dpi;
        }
        for (int device = -3; device < scale.ToDevice(24) + 3; ++device) {
            const Point menu = scale.ToMenu(Point{device, 2});
            for (const Rect& item : items) {
                EXPECT_EQ(scale.ToDevice(item).Contains(device, 2), item.Contains(menu.x, menu.y))
                    << "dpi " << dpi << ", device x " << device;
            }
        }
        for (int menu = -50; menu <= 50; ++menu) {
            EXPECT_EQ(scale.ToMenu(scale.ToDevice(menu)), menu) << dpi;
        }
    }
}

}  // namespace
}  // namespace ambrevo::ui
