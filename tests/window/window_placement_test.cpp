#include "window/window_placement.h"

#include <gtest/gtest.h>

namespace ambrevo {
namespace {

constexpr ui::Size kScreen{1024, 768};

TEST(WindowPlacementTest, EveryPlacementOnTheScreenThenPulledOntoIt) {
    const struct {
        int placement;
        ui::Size window;
        int rawLeft, rawTop;  // before the clamp
        int left, top;
    } cases[] = {
        {0, {500, 500}, 262, 134, 262, 134},
        {1, {500, 500}, 0, 0, 0, 0},
        {2, {500, 500}, 524, 0, 524, 0},
        {3, {500, 500}, 0, 268, 0, 268},
        {4, {500, 500}, 524, 268, 524, 268},
        {5, {500, 500}, 6, -58, 6, 0},
        {6, {500, 500}, 518, -58, 518, 0},
        {7, {500, 500}, 6, 326, 6, 268},
        {8, {500, 500}, 518, 326, 518, 268},
        {9, {500, 500}, 174, -58, 174, 0},
        {10, {500, 500}, 315, -58, 315, 0},
        {11, {500, 500}, 262, 134, 262, 134},
        {-1, {500, 500}, 262, 134, 262, 134},
        // Halves are taken before the subtraction and every division truncates.
        {5, {101, 51}, 205, 166, 205, 166},
        {10, {101, 51}, 556, 166, 556, 166},
        // Larger than the screen: the left and top edges end off the screen.
        {0, {1200, 900}, -88, -66, -176, -132},
        {4, {1200, 900}, -176, -132, -176, -132},
        {10, {1200, 900}, -106, -258, -176, -132},
    };
    for (const auto& c : cases) {
        const ui::Rect raw = PlacementBounds(c.placement, kScreen, c.window);
        EXPECT_EQ(raw, (ui::Rect{c.rawLeft, c.rawTop, c.window.width, c.window.height}))
            << "placement " << c.placement;
        EXPECT_EQ(PlaceWindow(c.placement, kScreen, c.window),
                  (ui::Rect{c.left, c.top, c.window.width, c.window.height}))
            << "placement " << c.placement;
    }
}

}  // namespace
}  // namespace ambrevo
