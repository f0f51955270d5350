#include "pack/pictures/shape_runs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pack/common/pack_error.h"

namespace ambrevo::pack {
namespace {

// Rows of a mask: '#' is cut out of the window, '.' stays.
PixelMask Mask(const std::vector<std::string>& rows) {
    PixelMask mask;
    for (const std::string& row : rows) {
        for (char c : row) mask.push_back(c == '#');
    }
    return mask;
}

struct ShapeCase {
    std::vector<std::string> rows;
    std::string runs;
};

TEST(ShapeRunsTest, FormatsRunsAndParsesThemBackToTheSamePixels) {
    // The runs are spelled field by field.
    // clang-format off
    const std::vector<ShapeCase> cases = {
        {{"...", "..."}, "00030002"},
        {{"###"}, "0003000100000003"},
        {{"#..#", "....", "##.."}, "00040003" "00000001" "00030004" "Y0003" "00000002"},
        {{"...", ".#."}, "00030002" "Y0002" "00010002"},
        {{".##.##", "######"}, "00060002" "00010003" "00040006" "Y0002" "00000006"},
    };
    // clang-format on
    for (const ShapeCase& shape : cases) {
        const int width = static_cast<int>(shape.rows[0].size());
        const int height = static_cast<int>(shape.rows.size());
        const PixelMask mask = Mask(shape.rows);
        EXPECT_EQ(FormatShapeRuns(width, height, mask), shape.runs);

        const std::optional<ShapeRuns> parsed = ParseShapeRuns(shape.runs);
        ASSERT_TRUE(parsed) << shape.runs;
        EXPECT_EQ(parsed->width, width);
        EXPECT_EQ(parsed->height, height);
        EXPECT_EQ(CutOutPixels(*parsed), mask) << shape.runs;
    }
}

TEST(ShapeRunsTest, CutsTransparentPixelsAndPixelsOfOneColour) {
    PngPicture picture;
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = 4;
    bitmap->height = 1;
    bitmap->pixels = {0x00FF00FF, 0xFFFF00FF, 0x00FF00FE, 0x000000};
    picture.bitmap = bitmap;
    picture.alpha = {0, 127, 128, 255};

    EXPECT_EQ(TransparentPixels(picture), (PixelMask{true, true, false, false}));
    EXPECT_EQ(PixelsOfColor(*bitmap, 0xFF00FF), (PixelMask{true, true, false, false}));
}

TEST(ShapeRunsTest, RefusesWindowsWiderOrHigherThanFourDigits) {
    EXPECT_NO_THROW(FormatShapeRuns(9999, 1, PixelMask(9999)));
    EXPECT_THROW(FormatShapeRuns(10000, 1, PixelMask(10000)), PackError);
    EXPECT_THROW(FormatShapeRuns(1, 10000, PixelMask(10000)), PackError);
}

}  // namespace
}  // namespace ambrevo::pack
