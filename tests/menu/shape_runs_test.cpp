#include "menu/shape_runs.h"

#include <gtest/gtest.h>

namespace ambrevo {
namespace {

TEST(ShapeRunsTest, ParsesRowMarkersAsThePlayerDoes) {
    // A 100 x 50 window without pixels 0..9 of row 0 and 90..99 of row 2.
    const std::optional<ShapeRuns> shape = ParseShapeRuns("0100005000000010Y000300900100");
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->width, 100);
    EXPECT_EQ(shape->height, 50);
    EXPECT_EQ(shape->runs, (std::vector<ShapeRun>{{0, 0, 10}, {2, 90, 100}}));

    // One character left after the last run is never read.
    ASSERT_TRUE(ParseShapeRuns("010000501"));
    EXPECT_TRUE(ParseShapeRuns("010000501")->runs.empty());
}

TEST(ShapeRunsTest, RejectsTextsThatAreNoRunList) {
    for (const char* text : {"", "0100005", "01000050000000", "0100005000a00010", "00100010Y00",
                             "0010001000000001Y0002", "abcd0001"}) {
        EXPECT_FALSE(ParseShapeRuns(text)) << text;
    }
}

}  // namespace
}  // namespace ambrevo
