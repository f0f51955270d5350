#include "menu/menu_rules.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "fakes/fake_debug_output.h"
#include "menu/picture_table.h"

namespace ambrevo {
namespace {

using testing::FakeDebugOutput;

std::shared_ptr<const Bitmap> Picture(std::int32_t width = 1, std::int32_t height = 1) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = width;
    bitmap->height = height;
    if (width > 0 && height > 0) bitmap->pixels.resize(static_cast<std::size_t>(width * height), 0);
    return bitmap;
}

TEST(PictureTableTest, StoresReplacesAndClearsSlots) {
    PictureTable table;
    EXPECT_FALSE(table.HasPicture(0, 0, 0));
    const auto first = Picture(2, 2);
    const auto second = Picture(3, 3);
    table.StorePicture(0, 0, 0, first);
    table.StorePicture(100, 3, 100, first);
    EXPECT_TRUE(table.HasPicture(0, 0, 0));
    EXPECT_TRUE(table.HasPicture(100, 3, 100));
    EXPECT_EQ(table.Picture(0, 0, 0), first);  // shared, not copied

    table.StorePicture(0, 0, 0, second);
    EXPECT_EQ(table.Picture(0, 0, 0), second);

    table.Clear();
    EXPECT_FALSE(table.HasPicture(0, 0, 0));
    EXPECT_FALSE(table.HasPicture(100, 3, 100));
    EXPECT_EQ(table.Picture(100, 3, 100), nullptr);
}

TEST(PictureTableTest, EmptyPicturesAndSlotsOutsideTheTable_AreNoPicture) {
    PictureTable table;
    table.StorePicture(1, 1, 1, Picture(0, 0));
    EXPECT_FALSE(table.HasPicture(1, 1, 1));
    EXPECT_NE(table.Picture(1, 1, 1), nullptr);

    struct Slot {
        int record, set, frame;
    };
    for (const Slot s : {Slot{-1, 0, 0}, Slot{101, 0, 0}, Slot{0, -1, 0}, Slot{0, 4, 0},
                         Slot{0, 0, -1}, Slot{0, 0, 101}}) {
        table.StorePicture(s.record, s.set, s.frame, Picture());  // ignored
        EXPECT_FALSE(table.HasPicture(s.record, s.set, s.frame));
        EXPECT_EQ(table.Picture(s.record, s.set, s.frame), nullptr);
        EXPECT_FALSE(PictureTable::InRange(s.record, s.set, s.frame));
    }
}

TEST(QBColorTest, GivesTheColourTableAndTracesEveryCall) {
    struct Case {
        std::int32_t index;
        ColorRef color;
    };
    const Case cases[] = {
        {0, 0x000000},    {1, 0x800000},
        {2, 0x008000},    {3, 0x808000},
        {4, 0x000080},    {5, 0x800080},
        {6, 0x008080},    {7, 0xC0C0C0},
        {8, 0x808080},    {9, 0xFF0000},
        {10, 0x00FF00},   {11, 0xFFFF00},
        {12, 0x0000FF},   {13, 0xFF00FF},
        {14, 0x00FFFF},   {15, 0xFFFFFF},
        {16, 0x000000},   {-1, 0x000000},
        {1000, 0x000000}, {std::numeric_limits<std::int32_t>::min(), 0x000000},
    };
    for (const Case& c : cases) {
        FakeDebugOutput debug;
        EXPECT_EQ(QBColor(c.index, debug), c.color) << c.index;
        EXPECT_EQ(debug.lines, std::vector<std::string>{"**** QBColor Called for: " +
                                                        std::to_string(c.index) + " **** "});
    }
}

TEST(IsValidIntegerTest, AcceptsWholeDecimalIntegersInTheInt32Range) {
    struct Case {
        const char* text;
        bool valid;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"2008", true, 2008},
        {"-5", true, -5},
        {"+7", true, 7},
        {"   12", true, 12},
        {"  -12", true, -12},
        {"007", true, 7},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, std::numeric_limits<std::int32_t>::min()},
        {"00000000000000000000042", true, 42},
        {"", false, 0},
        {" ", false, 0},
        {"-", false, 0},
        {"+", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"12 ", false, 0},
        {"1 2", false, 0},
        {"- 5", false, 0},
        {"--5", false, 0},
        {"+-5", false, 0},
        {"\t5", false, 0},
        {"5x", false, 0},
        {"abc", false, 0},
        {"1.5", false, 0},
        {"$1F", false, 0},
        {"0x1F", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t value = 12345;
        EXPECT_EQ(IsValidInteger(c.text, &value), c.valid) << '"' << c.text << '"';
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(IsValidInteger(c.text, nullptr), c.valid) << '"' << c.text << '"';
    }
}

TEST(ExpiryDueTest, IsDueOnlyAfterTheExpiryDay) {
    MenuDefinition def;
    def.expiryYear = 2008;
    def.expiryMonth = 5;
    def.expiryDay = 20;
    def.expiryMessage = "This disc has expired.";
    struct Case {
        Date today;
        bool due;
    };
    const Case cases[] = {
        {{2008, 5, 20}, false},  {{2008, 5, 21}, true}, {{2009, 1, 1}, true},
        {{2008, 5, 19}, false},  {{2008, 6, 1}, true},  {{2008, 4, 30}, false},
        {{2007, 12, 31}, false}, {{2008, 12, 1}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExpiryDue(def, c.today), c.due)
            << c.today.year << '-' << c.today.month << '-' << c.today.day;
    }
}

TEST(ExpiryDueTest, IsNeverDueWithoutAYearOrAMessage) {
    MenuDefinition def;
    def.expiryYear = 2008;
    def.expiryMonth = 5;
    def.expiryDay = 20;
    EXPECT_FALSE(ExpiryDue(def, {2030, 1, 1}));  // empty message

    def.expiryMessage = "Expired";
    for (std::int32_t year : {0, -1}) {  // 0 also stands for a year text that is no number
        def.expiryYear = year;
        EXPECT_FALSE(ExpiryDue(def, {2030, 1, 1}));
    }
}

class CountFramesTest : public ::testing::Test {
protected:
    void Give(int item, PictureSet set, std::initializer_list<int> frames) {
        for (int frame : frames) table_.StorePicture(item, static_cast<int>(set), frame, Picture());
    }
    std::array<std::int32_t, kPictureSets> Count(int item, int itemCount = 3) {
        CountFrames(table_, itemCount, lastFrame_);
        return lastFrame_[static_cast<std::size_t>(item)];
    }
    PictureTable table_;
    LastFrameTable lastFrame_{};
};

TEST_F(CountFramesTest, EachSetGetsItsHighestFrameBeforeTheFirstGapOfAllSets) {
    Give(1, PictureSet::Normal, {0, 1, 2, 3});
    Give(1, PictureSet::Highlighted, {1, 2});
    EXPECT_EQ(Count(1), (std::array<std::int32_t, 4>{3, 2, 0, 0}));
}

TEST_F(CountFramesTest, StopsAtTheFirstFrameThatNoSetHas) {
    Give(1, PictureSet::Normal, {1, 3});
    EXPECT_EQ(Count(1), (std::array<std::int32_t, 4>{1, 0, 0, 0}));
}

TEST_F(CountFramesTest, AFrameInAnyOtherSetCarriesTheScanOn) {
    Give(2, PictureSet::Normal, {1, 3});
    Give(2, PictureSet::Pressed, {2});
    Give(2, PictureSet::Description, {4, 5});  // after the gap at 4 of the others
    EXPECT_EQ(Count(2), (std::array<std::int32_t, 4>{3, 0, 2, 5}));
}

TEST_F(CountFramesTest, NoFrameOneMeansNoAnimation) {
    Give(1, PictureSet::Normal, {0, 2, 3});
    Give(1, PictureSet::Highlighted, {0});
    table_.StorePicture(1, 3, 1, Picture(0, 0));  // an empty picture is no picture
    EXPECT_EQ(Count(1), (std::array<std::int32_t, 4>{0, 0, 0, 0}));
}

TEST_F(CountFramesTest, EndsAtFrame100AndCoversItemsUpToTheCountOnly) {
    for (int frame = 1; frame <= 100; ++frame) Give(100, PictureSet::Highlighted, {frame});
    Give(4, PictureSet::Normal, {1});
    EXPECT_EQ(Count(100, 255)[1], 100);
    EXPECT_EQ(Count(4, 3)[0], 0);  // item 4 is beyond the item count
    EXPECT_EQ(Count(4, 4)[0], 1);
}

}  // namespace
}  // namespace ambrevo
