#include "menu/menu_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "menu/menu_fields.h"
#include "menu_test_support.h"
#include "pack/writer/tagged_writer.h"
#include "support/app_error.h"

namespace ambrevo {
namespace {

using pack::TaggedWriter;
using testing::FakeDebugOutput;
using testing::FakeDialogs;
using testing::PixelPattern;
using testing::StreamUnderTest;

const std::string kVersionMessage =
    "This is not an Ambrevo Version 6 or above file. If you have created the menu in a "
    "previous version of Ambrevo, you can use the Menu Conversion Wizard available from "
    "Quorel Software's site to convert the file to Version 6 format.";

// Writes tagged values and counts them, so that tests can state how many a body holds.
class CountingWriter {
public:
    void Int(std::int32_t value) {
        ++count;
        writer.WriteInteger(value);
    }
    void Long(std::int32_t value) {
        ++count;
        writer.WriteLong(value);
    }
    void Str(std::string_view text) {
        ++count;
        writer.WriteString(text);
    }
    std::string Bytes() const { return {writer.Bytes().begin(), writer.Bytes().end()}; }

    TaggedWriter writer;
    int count = 0;
};

void WriteHeader(TaggedWriter& w, int version, int itemCount, int pictureCount) {
    w.RawBytes("MENU", 4);
    w.RawByte(1);
    w.RawByte(static_cast<std::uint8_t>(version));
    w.RawByte(0);
    w.RawByte(0);
    w.RawByte(static_cast<std::uint8_t>(itemCount));
    w.RawInt16(static_cast<std::int16_t>(pictureCount));
}

// The window-level values in file order, each with the reader its row names.
void WriteWindowFields(CountingWriter& w, int version) {
    w.Str("Sample menu");                          // 1 title
    w.Int(5);                                      // 2 placement
    w.Str("Pick one");                             // 3 defaultDescription
    w.Str("Verdana");                              // 4 descriptionFont.name
    w.Long(12);                                    // 5 descriptionFont.size
    w.Int(-1), w.Int(1), w.Int(-1);                // 6-8 bold, italic, underline
    w.Int(0x112), w.Int(0x34), w.Int(-1);          // 9-11 descriptionColor
    w.Int(40), w.Int(120), w.Int(300), w.Int(45);  // 12-15 descriptionBounds
    w.Int(2);                                      // 16 descriptionAlignment
    w.Int(7);                                      // 17 showTime
    w.Int(0);                                      // 18 showDate
    w.Int(1), w.Int(2), w.Int(3);                  // 19-21 clockColor
    w.Int(20), w.Int(200);                         // 22-23 timePosition
    w.Int(95), w.Int(210);                         // 24-25 datePosition
    w.Int(2);                                      // 26 initialItem
    w.Int(12);                                     // 27 shapeColor
    w.Int(7), w.Int(8);                            // 28-29 descriptionPicturePosition
    w.Int(150);                                    // 30 animationInterval
    w.Int(-1);                                     // 31 scrollTitle
    w.Str("01000050");                             // 32 windowShape
    w.Str("Tahoma"), w.Long(9);                    // 33-34 timeFont
    w.Int(0), w.Int(-1), w.Int(0);                 // 35-37
    w.Str("Courier"), w.Long(11);                  // 38-39 dateFont
    w.Int(0), w.Int(0), w.Int(-1);                 // 40-42
    w.Int(3);                                      // 43 shadowOffset
    w.Int(4), w.Int(5), w.Int(0x106);              // 44-46 shadowColor
    if (version >= 7) {
        w.Str("2008"), w.Str(" 5"), w.Str("20x");  // 47-49 expiry numbers
        w.Str("Expired");                          // 50 expiryMessage
    }
}

// The values of item block n in file order.
void WriteItem(CountingWriter& w, int version, int n) {
    const std::string tag = std::to_string(n);
    w.Str("doc" + tag + ".pdf");   // a target
    w.Str("/p" + tag);             // b parameters
    w.Str("Item " + tag);          // c description
    w.Int(10 * n), w.Int(20 * n);  // d-e left, top
    w.Int(2), w.Int(0);            // f-g minimize, exit
    w.Int(4);                      // h animationMode
    w.Str("K");                    // i shortcutKey
    w.Int(3);                      // j showMode
    w.Int(1);                      // k autoRestore: 1 is not -1
    w.Int(2);                      // l kind
    w.Str("&Open");                // m caption
    w.Int(80), w.Int(24);          // n-o width, height
    if (version >= 7) {
        w.Str("Georgia");                   // p font.name
        w.Int(14);                          // q font.size (tag 2)
        w.Int(0x00123456);                  // r font.color
        w.Int(1);                           // s alignment
        w.Int(0), w.Int(-1), w.Int(-1);     // t-v bold, italic, underline
        w.Int(1);                           // w checkViewer
        w.Str("Adobe Reader"), w.Str("7");  // x-y viewer
        w.Int(1);                           // z viewerVersionMode
    }
}

class MenuReaderTest : public ::testing::Test {
protected:
    bool Read(const std::string& bytes, MenuDefinition& def) {
        in_ = std::make_unique<StreamUnderTest>(bytes);
        return ReadMenu(in_->Reader(), dialogs_, debug_, "Ambrevo", def);
    }

    FakeDialogs dialogs_;
    FakeDebugOutput debug_;
    std::unique_ptr<StreamUnderTest> in_;
};

TEST_F(MenuReaderTest, Version7Body_Holds50WindowValuesAnd26PerItem) {
    CountingWriter w;
    WriteHeader(w.writer, 7, 2, 0);
    WriteWindowFields(w, 7);
    ASSERT_EQ(w.count, 50);
    WriteItem(w, 7, 1);
    ASSERT_EQ(w.count, 50 + 26);
    WriteItem(w, 7, 2);
    w.writer.RawBytes("END!", 4);  // nothing after the last picture record is read

    MenuDefinition def;
    ASSERT_TRUE(Read(w.Bytes(), def));
    EXPECT_EQ(in_->Stream().Remaining(), 4);
    EXPECT_FALSE(in_->Error().IsSet());

    EXPECT_EQ(def.header.version, 7);
    EXPECT_EQ(def.title, "Sample menu");
    EXPECT_EQ(def.placement, 5);
    EXPECT_EQ(def.defaultDescription, "Pick one");
    EXPECT_EQ(def.descriptionFont.name, "Verdana");
    EXPECT_EQ(def.descriptionFont.size, 12);
    EXPECT_TRUE(def.descriptionFont.style.bold);
    EXPECT_FALSE(def.descriptionFont.style.italic);  // 1 is not -1
    EXPECT_TRUE(def.descriptionFont.style.underline);
    EXPECT_EQ(def.descriptionColor, 0xFF3412u);
    EXPECT_EQ(def.descriptionBounds.left, 40);
    EXPECT_EQ(def.descriptionBounds.top, 120);
    EXPECT_EQ(def.descriptionBounds.width, 300);
    EXPECT_EQ(def.descriptionBounds.height, 45);
    EXPECT_EQ(def.descriptionAlignment, 2);
    EXPECT_TRUE(def.showTime);
    EXPECT_FALSE(def.showDate);
    EXPECT_EQ(def.clockColor, 0x030201u);
    EXPECT_EQ(def.timePosition.left, 20);
    EXPECT_EQ(def.timePosition.top, 200);
    EXPECT_EQ(def.datePosition.left, 95);
    EXPECT_EQ(def.datePosition.top, 210);
    EXPECT_EQ(def.initialItem, 2);
    EXPECT_EQ(def.shapeColor, 0x0000FF);
    EXPECT_EQ(def.descriptionPicturePosition.left, 7);
    EXPECT_EQ(def.descriptionPicturePosition.top, 8);
    EXPECT_EQ(def.animationInterval, 150);
    EXPECT_TRUE(def.scrollTitle);
    EXPECT_EQ(def.windowShape, "01000050");
    EXPECT_EQ(def.timeFont.name, "Tahoma");
    EXPECT_EQ(def.timeFont.size, 9);
    EXPECT_TRUE(def.timeFont.style.italic);
    EXPECT_FALSE(def.timeFont.style.bold || def.timeFont.style.underline);
    EXPECT_EQ(def.dateFont.name, "Courier");
    EXPECT_EQ(def.dateFont.size, 11);
    EXPECT_TRUE(def.dateFont.style.underline);
    EXPECT_EQ(def.shadowOffset, 3);
    EXPECT_EQ(def.shadowColor, 0x060504u);
    EXPECT_EQ(def.expiryYear, 2008);
    EXPECT_EQ(def.expiryMonth, 5);
    EXPECT_EQ(def.expiryDay, 0);  // "20x" is not an integer
    EXPECT_EQ(def.expiryMessage, "Expired");

    ASSERT_EQ(def.items.size(), 2u);
    const MenuItem& item = def.items[1];
    EXPECT_EQ(item.target, "doc2.pdf");
    EXPECT_EQ(item.parameters, "/p2");
    EXPECT_EQ(item.description, "Item 2");
    EXPECT_EQ(item.left, 20);
    EXPECT_EQ(item.top, 40);
    EXPECT_TRUE(item.minimizeAfterLaunch);
    EXPECT_FALSE(item.exitAfterLaunch);
    EXPECT_EQ(item.animationMode, 4);
    EXPECT_EQ(item.shortcutKey, "K");
    EXPECT_EQ(item.showMode, 3);
    EXPECT_FALSE(item.autoRestore);
    EXPECT_EQ(item.kind, 2);
    EXPECT_EQ(item.caption, "&Open");
    EXPECT_EQ(item.width, 80);
    EXPECT_EQ(item.height, 24);
    EXPECT_EQ(item.font.name, "Georgia");
    EXPECT_EQ(item.font.size, 14);
    EXPECT_EQ(item.fontColor, 0x00123456u);
    EXPECT_EQ(item.alignment, 1);
    EXPECT_FALSE(item.font.style.bold);
    EXPECT_TRUE(item.font.style.italic);
    EXPECT_TRUE(item.font.style.underline);
    EXPECT_EQ(item.checkViewer, 1);
    EXPECT_EQ(item.viewerName, "Adobe Reader");
    EXPECT_EQ(item.viewerVersion, "7");
    EXPECT_EQ(item.viewerVersionMode, 1);
}

TEST_F(MenuReaderTest, Version6Body_Holds46WindowValuesAnd15PerItem_ItemsKeepDefaults) {
    CountingWriter w;
    WriteHeader(w.writer, 6, 1, 0);
    WriteWindowFields(w, 6);
    ASSERT_EQ(w.count, 46);
    WriteItem(w, 6, 1);
    ASSERT_EQ(w.count, 46 + 15);
    w.writer.RawBytes("END!", 4);

    MenuDefinition def;
    ASSERT_TRUE(Read(w.Bytes(), def));
    EXPECT_EQ(in_->Stream().Remaining(), 4);
    EXPECT_FALSE(in_->Error().IsSet());
    EXPECT_EQ(def.shadowColor, 0x060504u);
    EXPECT_EQ(def.expiryYear, 0);
    EXPECT_EQ(def.expiryMonth, 0);
    EXPECT_EQ(def.expiryDay, 0);
    EXPECT_EQ(def.expiryMessage, "");

    ASSERT_EQ(def.items.size(), 1u);
    const MenuItem& item = def.items[0];
    EXPECT_EQ(item.height, 24);
    EXPECT_EQ(item.font.name, "Arial");
    EXPECT_EQ(item.font.size, 10);
    EXPECT_EQ(item.fontColor, 0u);
    EXPECT_EQ(item.alignment, 0);
    EXPECT_FALSE(item.font.style.bold || item.font.style.italic || item.font.style.underline);
    EXPECT_EQ(item.checkViewer, 0);
    EXPECT_EQ(item.viewerName, "");
    EXPECT_EQ(item.viewerVersion, "");
    EXPECT_EQ(item.viewerVersionMode, 0);
}

TEST(MenuFieldsTest, FieldListsHoldTheValueCountsOfEachVersion) {
    auto windowValues = [](int version) {
        int sum = 0;
        for (WindowField f : WindowFields(version)) sum += ValueCount(f);
        return sum;
    };
    auto itemValues = [](int version) {
        int sum = 0;
        for (ItemField f : ItemFields(version)) sum += ValueCount(f);
        return sum;
    };
    EXPECT_EQ(windowValues(6), 46);
    EXPECT_EQ(windowValues(7), 50);
    EXPECT_EQ(windowValues(200), 50);
    EXPECT_EQ(itemValues(6), 15);
    EXPECT_EQ(itemValues(7), 26);
    EXPECT_EQ(WindowFields(7).front(), WindowField::Title);
    EXPECT_EQ(WindowFields(6).back(), WindowField::ShadowColor);
    EXPECT_EQ(WindowFields(7).back(), WindowField::ExpiryMessage);
    EXPECT_EQ(ItemFields(6).back(), ItemField::Height);
    EXPECT_EQ(ItemFields(7).back(), ItemField::ViewerVersionMode);
}

// Reads one field from the given tagged values; the tests below read flags and colours.
struct FieldRead {
    MenuDefinition def;
    MenuItem item;
    bool loadError = false;
    std::int64_t remaining = 0;
    std::vector<std::string> debugLines;
};

FieldRead ReadField(const std::function<void(TaggedWriter&)>& write,
                    const std::function<void(TaggedReader&, DebugOutput&, FieldRead&)>& read) {
    TaggedWriter w;
    write(w);
    StreamUnderTest in(w.Bytes());
    FakeDebugOutput debug;
    FieldRead result;
    read(in.Reader(), debug, result);
    result.loadError = in.Error().IsSet();
    result.remaining = in.Stream().Remaining();
    result.debugLines = debug.lines;
    return result;
}

FieldRead ReadWindowValue(WindowField field, std::initializer_list<std::int32_t> values) {
    return ReadField(
        [&](TaggedWriter& w) {
            for (auto v : values) w.WriteInteger(v);
        },
        [&](TaggedReader& r, DebugOutput& d, FieldRead& out) {
            ReadWindowField(field, r, d, out.def);
        });
}

FieldRead ReadItemValue(ItemField field, std::initializer_list<std::int32_t> values) {
    return ReadField(
        [&](TaggedWriter& w) {
            for (auto v : values) w.WriteInteger(v);
        },
        [&](TaggedReader& r, DebugOutput&, FieldRead& out) { ReadItemField(field, r, out.item); });
}

TEST(MenuFieldsTest, FlagsFollowTheirRule) {
    struct Case {
        std::int32_t value;
        bool minusOne;
        bool nonZero;
    };
    for (const Case c : {Case{-1, true, true}, Case{0, false, false}, Case{1, false, true},
                         Case{2, false, true}, Case{-2, false, true}}) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ReadWindowValue(WindowField::ShowTime, {c.value}).def.showTime, c.nonZero);
        EXPECT_EQ(ReadWindowValue(WindowField::ShowDate, {c.value}).def.showDate, c.nonZero);
        EXPECT_EQ(ReadWindowValue(WindowField::ScrollTitle, {c.value}).def.scrollTitle, c.nonZero);
        EXPECT_EQ(ReadItemValue(ItemField::MinimizeAfterLaunch, {c.value}).item.minimizeAfterLaunch,
                  c.nonZero);
        EXPECT_EQ(ReadItemValue(ItemField::ExitAfterLaunch, {c.value}).item.exitAfterLaunch,
                  c.nonZero);
        EXPECT_EQ(ReadItemValue(ItemField::AutoRestore, {c.value}).item.autoRestore, c.minusOne);
        const FontStyle window =
            ReadWindowValue(WindowField::DescriptionFontStyle, {c.value, c.value, c.value})
                .def.descriptionFont.style;
        EXPECT_EQ(window.bold && window.italic && window.underline, c.minusOne);
        EXPECT_EQ(window.bold || window.italic || window.underline, c.minusOne);
        const FontStyle item =
            ReadItemValue(ItemField::FontStyle, {c.value, c.value, c.value}).item.font.style;
        EXPECT_EQ(item.bold || item.italic || item.underline, c.minusOne);
    }
}

TEST(MenuFieldsTest, ColourTriplesKeepTheLow8BitsOfEachPart) {
    struct Case {
        std::int32_t r, g, b;
        ColorRef color;
    };
    for (const Case c : {Case{0, 0, 0, 0x000000}, Case{255, 128, 1, 0x0180FF},
                         Case{0x1FF, 0x102, -1, 0xFF02FF}, Case{-256, 256, 0x7FFFFF00, 0}}) {
        EXPECT_EQ(
            ReadWindowValue(WindowField::DescriptionColor, {c.r, c.g, c.b}).def.descriptionColor,
            c.color);
        EXPECT_EQ(ReadWindowValue(WindowField::ClockColor, {c.r, c.g, c.b}).def.clockColor,
                  c.color);
        EXPECT_EQ(ReadWindowValue(WindowField::ShadowColor, {c.r, c.g, c.b}).def.shadowColor,
                  c.color);
    }
    // The item's font colour is a whole COLORREF, not a triple.
    EXPECT_EQ(ReadItemValue(ItemField::FontColor, {0x00FF8001}).item.fontColor, 0x00FF8001u);
}

TEST(MenuFieldsTest, ShapeColorGoesThroughQBColorAbove0AndIsMinusOneOtherwise) {
    struct Case {
        std::int32_t index;
        std::int32_t stored;
        bool traced;
    };
    for (const Case c :
         {Case{0, -1, false}, Case{-3, -1, false}, Case{1, 0x800000, true},
          Case{15, 0xFFFFFF, true}, Case{16, 0x000000, true}, Case{1000, 0x000000, true}}) {
        const FieldRead read = ReadWindowValue(WindowField::ShapeColor, {c.index});
        EXPECT_EQ(read.def.shapeColor, c.stored) << c.index;
        EXPECT_EQ(read.debugLines.size(), c.traced ? 1u : 0u) << c.index;
        if (c.traced) {
            EXPECT_EQ(read.debugLines[0],
                      "**** QBColor Called for: " + std::to_string(c.index) + " **** ");
        }
    }
}

TEST(MenuFieldsTest, ExpiryNumbersAreTextsThroughIsValidInteger) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    for (const Case c : {Case{"2008", 2008}, Case{"  -3", -3}, Case{"", 0}, Case{"abc", 0},
                         Case{"12 ", 0}, Case{"99999999999", 0}}) {
        for (WindowField field :
             {WindowField::ExpiryYear, WindowField::ExpiryMonth, WindowField::ExpiryDay}) {
            const FieldRead read = ReadField([&](TaggedWriter& w) { w.WriteString(c.text); },
                                             [&](TaggedReader& r, DebugOutput& d, FieldRead& out) {
                                                 ReadWindowField(field, r, d, out.def);
                                             });
            const MenuDefinition& def = read.def;
            EXPECT_EQ(def.expiryYear + def.expiryMonth + def.expiryDay, c.value) << c.text;
            EXPECT_FALSE(read.loadError);
        }
    }
}

TEST(MenuFieldsTest, FontSizesUseTag3InTheWindowAndTag2InItems) {
    auto windowSize = [](bool asLong) {
        return ReadField([&](TaggedWriter& w) { asLong ? w.WriteLong(12) : w.WriteInteger(12); },
                         [](TaggedReader& r, DebugOutput& d, FieldRead& out) {
                             ReadWindowField(WindowField::TimeFontSize, r, d, out.def);
                         });
    };
    auto itemSize = [](bool asLong) {
        return ReadField([&](TaggedWriter& w) { asLong ? w.WriteLong(12) : w.WriteInteger(12); },
                         [](TaggedReader& r, DebugOutput&, FieldRead& out) {
                             ReadItemField(ItemField::FontSize, r, out.item);
                         });
    };
    EXPECT_EQ(windowSize(true).def.timeFont.size, 12);
    EXPECT_FALSE(windowSize(true).loadError);
    const FieldRead wrongWindow = windowSize(false);
    EXPECT_EQ(wrongWindow.def.timeFont.size, 0);
    EXPECT_TRUE(wrongWindow.loadError);
    EXPECT_EQ(wrongWindow.remaining, 8);  // only the tag byte was consumed

    EXPECT_EQ(itemSize(false).item.font.size, 12);
    EXPECT_FALSE(itemSize(false).loadError);
    EXPECT_EQ(itemSize(true).item.font.size, 0);
    EXPECT_TRUE(itemSize(true).loadError);
}

TEST_F(MenuReaderTest, WrongTagInAField_SetsLoadErrorAndReadingGoesOn) {
    CountingWriter w;
    WriteHeader(w.writer, 7, 1, 0);
    WriteWindowFields(w, 7);
    w.Long(1);  // item field a should be text
    MenuDefinition def;
    ASSERT_TRUE(Read(w.Bytes(), def));
    EXPECT_TRUE(in_->Error().IsSet());
    EXPECT_EQ(def.title, "Sample menu");
    ASSERT_EQ(def.items.size(), 1u);
    EXPECT_EQ(def.items[0].target, "");
    EXPECT_EQ(in_->Stream().Remaining(), 0);
}

TEST(MenuHeaderTest, ChecksFormatKindAndVersion) {
    using testing::ByteBuilder;
    struct Case {
        std::string bytes;
        bool ok;
        std::int64_t consumed;
    };
    const Case cases[] = {
        {ByteBuilder().Text("MENU").Bytes({1, 7, 0xAA, 0xBB, 3}).Le16(-2).Str(), true, 11},
        {ByteBuilder().Text("XXXX").Bytes({1, 6, 0, 0, 0}).Le16(0).Str(), true, 11},
        {ByteBuilder().Text("MENU").Bytes({1, 255, 0, 0, 255}).Le16(32767).Str(), true, 11},
        {ByteBuilder().Text("MENU").Bytes({2, 7, 0, 0, 1}).Le16(1).Str(), false, 5},
        {ByteBuilder().Text("MENU").Bytes({0, 7, 0, 0, 1}).Le16(1).Str(), false, 5},
        {ByteBuilder().Text("MENU").Bytes({1, 5, 0, 0, 1}).Le16(1).Str(), false, 6},
        {ByteBuilder().Text("MENU").Bytes({1, 0, 0, 0, 1}).Le16(1).Str(), false, 6},
        {ByteBuilder().Text("MEN").Str(), false, 3},
    };
    for (const Case& c : cases) {
        StreamUnderTest in(c.bytes);
        FakeDialogs dialogs;
        const auto header = ReadMenuHeader(in.Reader(), dialogs, "Caption");
        EXPECT_EQ(header.has_value(), c.ok) << ::testing::PrintToString(c.bytes);
        EXPECT_EQ(in.Position(), c.consumed) << ::testing::PrintToString(c.bytes);
        if (c.ok) {
            EXPECT_TRUE(dialogs.shown.empty());
            EXPECT_FALSE(in.Error().IsSet());
        } else {
            EXPECT_EQ(dialogs.shown, (std::vector<FakeDialogs::Shown>{
                                         {kVersionMessage, MessageKind::Information, "Caption"}}));
            EXPECT_TRUE(in.Error().IsSet());
        }
    }
}

TEST(MenuHeaderTest, GivesTheHeaderValues) {
    StreamUnderTest in(
        testing::ByteBuilder().Text("MENU").Bytes({1, 7, 0xAA, 0xBB, 200}).Le16(-2).Str());
    FakeDialogs dialogs;
    const auto header = ReadMenuHeader(in.Reader(), dialogs, "Ambrevo");
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(std::string(header->magic.begin(), header->magic.end()), "MENU");
    EXPECT_EQ(header->formatKind, 1);
    EXPECT_EQ(header->version, 7);
    EXPECT_EQ(header->spare[0], 0xAA);
    EXPECT_EQ(header->spare[1], 0xBB);
    EXPECT_EQ(header->itemCount, 200);
    EXPECT_EQ(header->pictureCount, -2);
}

class ReadPicturesTest : public ::testing::Test {
protected:
    void Read(const std::string& bytes, int count, int version = 7) {
        in_ = std::make_unique<StreamUnderTest>(bytes);
        ReadPictures(in_->Reader(), debug_, count, version, table_);
    }
    FakeDebugOutput debug_;
    PictureTable table_;
    std::unique_ptr<StreamUnderTest> in_;
};

TEST_F(ReadPicturesTest, TracesEachRecordAndStoresItAtItsSlot_LaterRecordsWin) {
    const auto first = PixelPattern(4, 1), second = PixelPattern(4, 2), third = PixelPattern(4, 3);
    for (int version : {6, 7}) {
        table_.Clear();
        debug_.lines.clear();
        Read(testing::Record(version, 0, 0, 0, 2, 2, first) +
                 testing::Record(version, 5, 1, 2, 2, 2, second) +
                 testing::Record(version, 0, 0, 0, 2, 2, third),
             3, version);
        EXPECT_EQ(debug_.lines, (std::vector<std::string>{"**** Getting Image 1 **** ",
                                                          "**** Getting Image 2 **** ",
                                                          "**** Getting Image 3 **** "}));
        ASSERT_TRUE(table_.HasPicture(0, 0, 0));
        EXPECT_EQ(table_.Picture(0, 0, 0)->pixels, third);
        EXPECT_EQ(table_.Picture(5, 1, 2)->pixels, second);
        EXPECT_FALSE(in_->Error().IsSet());
    }
}

TEST_F(ReadPicturesTest, CountZeroOrBelow_ReadsNothing) {
    for (int count : {0, -1, -32768}) {
        Read(testing::Record(7, 0, 0, 0, 1, 1, PixelPattern(1)), count);
        EXPECT_EQ(in_->Position(), 0);
        EXPECT_TRUE(debug_.lines.empty());
        EXPECT_FALSE(table_.HasPicture(0, 0, 0));
    }
}

TEST_F(ReadPicturesTest, RecordsOutsideTheTable_AreReadAndDropped) {
    const auto pixels = PixelPattern(1);
    std::string bytes;
    for (int record : {101, 255}) bytes += testing::Record(7, record, 0, 0, 1, 1, pixels);
    for (int set : {4, 255}) bytes += testing::Record(7, 1, set, 0, 1, 1, pixels);
    for (int frame : {101, -2}) bytes += testing::Record(7, 1, 0, frame, 1, 1, pixels);
    bytes += testing::RecordStart(1, 0, -1).Le32(0).Le32(3).Le32(0).Text("a.b").Str();
    bytes += testing::Record(7, 100, 3, 100, 1, 1, pixels);
    Read(bytes, 8);
    EXPECT_EQ(in_->Stream().Remaining(), 0);
    EXPECT_FALSE(in_->Error().IsSet());
    EXPECT_TRUE(table_.HasPicture(100, 3, 100));
    EXPECT_FALSE(table_.HasPicture(1, 0, 0));
}

TEST_F(ReadPicturesTest, WrongTag_StoresNothingAndReadsOnOutOfStep) {
    Read(testing::ByteBuilder().Bytes({4, 0}).Str() +
             testing::Record(7, 0, 0, 0, 1, 1, PixelPattern(1)),
         2);
    EXPECT_TRUE(in_->Error().IsSet());
    EXPECT_TRUE(table_.HasPicture(0, 0, 0));
}

TEST_F(ReadPicturesTest, DamagedPicture_EndsTheReadWithItsError) {
    const std::string bad =
        testing::CompressedRecord(0, 0, 0, 1, 1, 6, 4, std::string("\x78\x00", 2));
    try {
        Read(bad, 1);
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_STREQ(error.what(), "Error");
    }
}

TEST_F(MenuReaderTest, ItemsAbove100_AreReadAndDropped_PicturesFollowInStep) {
    CountingWriter w;
    WriteHeader(w.writer, 7, 101, 2);
    WriteWindowFields(w, 7);
    for (int n = 1; n <= 101; ++n) WriteItem(w, 7, n);
    const std::string pictures = testing::Record(7, 0, 0, 0, 3, 2, PixelPattern(6)) +
                                 testing::Record(7, 100, 0, 1, 1, 1, PixelPattern(1));
    w.writer.RawBytes(pictures.data(), pictures.size());

    MenuDefinition def;
    ASSERT_TRUE(Read(w.Bytes(), def));
    EXPECT_FALSE(in_->Error().IsSet());
    EXPECT_EQ(in_->Stream().Remaining(), 0);
    ASSERT_EQ(def.items.size(), 100u);
    EXPECT_EQ(def.items[99].target, "doc100.pdf");
    EXPECT_EQ(def.pictures.Picture(0, 0, 0)->width, 3);
    EXPECT_EQ(def.lastFrame[100][0], 1);  // CountFrames ran
}

// A small but complete body of this version: 2 items, a background and two item frames.
std::string SmallBody(int version) {
    CountingWriter w;
    WriteHeader(w.writer, version, 2, 3);
    WriteWindowFields(w, version);
    WriteItem(w, version, 1);
    WriteItem(w, version, 2);
    const std::string pictures = testing::Record(version, 0, 0, 0, 4, 3, PixelPattern(12)) +
                                 testing::Record(version, 1, 0, 1, 2, 2, PixelPattern(4, 2)) +
                                 testing::Record(version, 2, 1, 1, 2, 2, PixelPattern(4, 3));
    w.writer.RawBytes(pictures.data(), pictures.size());
    return w.Bytes();
}

TEST_F(MenuReaderTest, CutOrDamagedBodies_FailOnlyThroughLoadErrorOrAppError) {
    for (int version : {6, 7}) {
        const std::string body = SmallBody(version);
        MenuDefinition whole;
        ASSERT_TRUE(Read(body, whole));
        ASSERT_FALSE(in_->Error().IsSet());
        EXPECT_EQ(whole.lastFrame[2][1], 1);

        // True when the read ended with an AppError ("Error" or "Stream read error").
        MenuDefinition def;
        auto readSurvives = [&](const std::string& bytes) {
            def.items.clear();
            try {
                Read(bytes, def);
            } catch (const AppError&) {
                return true;
            }
            EXPECT_LE(def.items.size(), 100u);
            return false;
        };
        for (std::size_t length = 0; length < body.size(); ++length) {
            const bool threw = readSurvives(body.substr(0, length));
            EXPECT_TRUE(threw || in_->Error().IsSet()) << "cut at " << length;
        }
        // Damage is read the same way in both versions up to the pictures; v7 adds zlib.
        for (std::size_t at = 0; version == 7 && at < body.size(); ++at) {
            std::string damaged = body;
            damaged[at] = "\x00\xFF\x05\x80"[at % 4];
            readSurvives(damaged);
        }
    }
}

TEST_F(MenuReaderTest, FailedHeader_LeavesTheDefinitionUntouched) {
    MenuDefinition def;
    def.title = "previous";
    EXPECT_FALSE(Read(testing::ByteBuilder().Text("MENU").Bytes({1, 5}).Str(), def));
    EXPECT_EQ(def.title, "previous");
    EXPECT_EQ(dialogs_.shown.size(), 1u);
}

}  // namespace
}  // namespace ambrevo
