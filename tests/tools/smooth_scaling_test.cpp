#include "pack/pictures/smooth_scaling.h"

#include <gtest/gtest.h>

#include <vector>

namespace ambrevo::pack {
namespace {

Bitmap Picture(int width, int height, const std::vector<std::uint32_t>& pixels) {
    Bitmap picture{width, height, Pixels(pixels.size())};
    for (std::size_t i = 0; i < pixels.size(); ++i) picture.pixels[i] = pixels[i];
    return picture;
}

std::vector<std::uint32_t> PixelsOf(const Bitmap& picture) {
    return {picture.pixels.begin(), picture.pixels.end()};
}

TEST(SmoothScalingTest, AveragesAreasDownAndInterpolatesUp) {
    struct Case {
        const char* what;
        int width, height;
        std::vector<std::uint32_t> pixels;
        int toWidth, toHeight;
        std::vector<std::uint32_t> expected;
    };
    const std::vector<Case> cases = {
        {"four pixels into one, each channel averaged and rounded",
         2,
         2,
         {0x000000, 0xFFFFFF, 0x102030, 0x305070},
         1,
         1,
         {0x505C68}},
        {"halved across", 4, 1, {0x00, 100, 200, 50}, 2, 1, {50, 125}},
        {"a pixel shared by two results gives each its covered part",
         3,
         1,
         {0, 90, 180},
         2,
         1,
         {30, 150}},
        {"doubled across: centres interpolated, edges held",
         2,
         1,
         {0, 200},
         4,
         1,
         {0, 50, 150, 200}},
        {"doubled down",
         1,
         2,
         {0x000000, 0x640000},
         1,
         4,
         {0x000000, 0x190000, 0x4B0000, 0x640000}},
        {"one and a half times: thirds between the centres", 2, 1, {0, 240}, 3, 1, {0, 120, 240}},
        {"shrunk across and grown down at once", 2, 1, {0, 200}, 1, 2, {100, 100}},
        {"the same size is a copy", 2, 1, {0x123456, 0xABCDEF}, 2, 1, {0x123456, 0xABCDEF}},
        {"halves round up", 2, 1, {0, 1}, 1, 1, {1}},
        {"an empty picture gives an empty one", 0, 0, {}, 2, 2, {}},
        {"an empty size gives an empty picture", 1, 1, {0xFFFFFF}, 0, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bitmap scaled =
            ScaleSmoothly(Picture(c.width, c.height, c.pixels), c.toWidth, c.toHeight);
        EXPECT_EQ(PixelsOf(scaled), c.expected);
        if (!c.expected.empty()) {
            EXPECT_EQ(scaled.width, c.toWidth);
            EXPECT_EQ(scaled.height, c.toHeight);
        }
    }
}

}  // namespace
}  // namespace ambrevo::pack
