#include "graphics/pixels.h"

#include <gtest/gtest.h>

#include <utility>

namespace ambrevo {
namespace {

TEST(PixelsTest, BehavesAsAVectorOfValuesWhereTheValuesAreGiven) {
    Pixels pixels{1, 2, 3};
    pixels.resize(5, 9);
    EXPECT_EQ(pixels, (Pixels{1, 2, 3, 9, 9})) << "a resize keeps the first values";
    pixels.resize(2);
    EXPECT_EQ(pixels, (Pixels{1, 2}));
    pixels.resize(3);
    EXPECT_EQ(pixels.size(), 3u);
    EXPECT_EQ(pixels[1], 2u) << "values kept, the new one unset";

    Pixels copy = pixels;
    copy[0] = 7;
    EXPECT_EQ(pixels[0], 1u) << "a copy has values of its own";
    EXPECT_NE(copy, pixels);
    EXPECT_NE((Pixels{1, 2}), (Pixels{1, 2, 0})) << "sizes differ";

    Pixels moved = std::move(copy);
    EXPECT_TRUE(copy.empty());  // NOLINT(bugprone-use-after-move): a move leaves it empty
    EXPECT_EQ(moved.front(), 7u);

    moved.assign(4, 0x123456);
    EXPECT_EQ(moved, Pixels(4, 0x123456));
    EXPECT_EQ(Pixels(moved.begin() + 1, moved.end()), Pixels(3, 0x123456));
}

}  // namespace
}  // namespace ambrevo
