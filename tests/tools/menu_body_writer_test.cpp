#include "pack/writer/menu_body_writer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "menu/menu_reader.h"
#include "menu/menu_rules.h"
#include "model_fields.h"
#include "pack/common/pack_error.h"
#include "package/memory_file.h"
#include "support/byte_builder.h"

namespace ambrevo::pack {
namespace {

using ambrevo::testing::ByteBuilder;
using testing::ItemFields;
using testing::WindowFields;

std::string AsString(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// Tagged values spelled out byte by byte.
struct Tagged {
    ByteBuilder bytes;
    Tagged& Int(std::int32_t v) {
        bytes.Bytes({2}).Le32(2).Le32(v);
        return *this;
    }
    Tagged& Long(std::int32_t v) {
        bytes.Bytes({3}).Le32(4).Le32(v);
        return *this;
    }
    Tagged& Str(const std::string& s) {
        bytes.Bytes({4}).Le32(static_cast<std::int32_t>(s.size())).Text(s);
        return *this;
    }
    Tagged& Ints(std::initializer_list<std::int32_t> values) {
        for (std::int32_t v : values) Int(v);
        return *this;
    }
};

std::shared_ptr<const Bitmap> Picture(std::int32_t width, std::int32_t height,
                                      std::uint32_t firstPixel = 0x123456) {
    auto picture = std::make_shared<Bitmap>();
    picture->width = width;
    picture->height = height;
    picture->pixels.resize(static_cast<std::size_t>(std::max(width * height, 0)));
    for (std::int32_t i = 0; i < width * height; ++i) {
        picture->pixels[static_cast<std::size_t>(i)] =
            firstPixel + static_cast<std::uint32_t>(i) * 0x010101;
    }
    return picture;
}

// A small menu: title "T", one text item "Go" to help.mnu, a 2 x 1 background.
MenuDefinition TinyMenu() {
    MenuDefinition menu;
    menu.title = "T";
    menu.placement = 4;
    menu.descriptionFont = {"Arial", 9, {true, false, true}};
    menu.descriptionColor = 0x00030201;  // R 1, G 2, B 3
    menu.descriptionBounds = {10, 20, 30, 40};
    menu.showTime = true;
    menu.animationInterval = 100;
    menu.timeFont = {"Tahoma", 8, {}};
    menu.dateFont = {"Tahoma", 8, {}};
    menu.items.push_back(MenuItem{});
    MenuItem& item = menu.items.back();
    item.target = "help.mnu";
    item.left = 5;
    item.top = 6;
    item.kind = 2;
    item.caption = "Go";
    item.width = 97;
    item.height = 25;
    item.autoRestore = true;
    menu.pictures.StorePicture(0, 0, 0, Picture(2, 1));
    return menu;
}

Tagged TinyMenuFieldsV6() {
    Tagged t;
    t.Str("T").Int(4).Str("");                                  // title, placement, default text
    t.Str("Arial").Long(9).Ints({-1, 0, -1});                   // description font
    t.Ints({1, 2, 3}).Ints({10, 20, 30, 40}).Int(0);            // colour, bounds, alignment
    t.Ints({-1, 0}).Ints({0, 0, 0}).Ints({0, 0}).Ints({0, 0});  // clock
    t.Int(0).Int(0).Ints({0, 0}).Int(100).Int(0).Str("");       // initial item .. shape text
    t.Str("Tahoma").Long(8).Ints({0, 0, 0});                    // time font
    t.Str("Tahoma").Long(8).Ints({0, 0, 0});                    // date font
    t.Int(0).Ints({0, 0, 0});                                   // shadow
    return t;
}

Tagged TinyItemFieldsV6() {
    Tagged t;
    t.Str("help.mnu").Str("").Str("").Ints({5, 6});   // target .. top
    t.Ints({0, 0, 0}).Str("").Int(0).Int(-1).Int(2);  // flags .. kind
    t.Str("Go").Ints({97, 25});                       // caption, size
    return t;
}

TEST(MenuBodyWriterTest, WritesVersion6BodyByteForByte) {
    ByteBuilder expected;
    expected.Text("MENU").Bytes({1, 6, 0, 0, 1}).Le16(1);
    expected.Text(TinyMenuFieldsV6().bytes.Str()).Text(TinyItemFieldsV6().bytes.Str());
    expected.Bytes({5, 0, 0, 0}).Le32(0).Le32(2).Le32(1);  // record 0, set 0, frame 0
    expected.Bytes({0x56, 0x34, 0x12, 0, 0x57, 0x35, 0x13, 0});

    EXPECT_EQ(AsString(WriteMenuBody(TinyMenu(), 6)), expected.Str());
}

TEST(MenuBodyWriterTest, WritesVersion7BodyByteForByte) {
    MenuDefinition menu = TinyMenu();
    menu.expiryYear = 2008;
    menu.expiryMonth = 5;
    menu.expiryDay = 20;
    menu.expiryMessage = "Old";
    menu.pictures.StorePicture(0, 0, 0, Picture(2, 1, 0xFF123456));  // fourth byte dropped

    Tagged fields = TinyMenuFieldsV6();
    fields.Str("2008").Str("5").Str("20").Str("Old");
    Tagged item = TinyItemFieldsV6();
    item.Str("Arial").Int(10).Int(0).Int(0).Ints({0, 0, 0});  // font, colour, alignment
    item.Int(0).Str("").Str("").Int(0);                       // viewer check
    const std::vector<int> zlib = {0x78, 0xDA, 0x0B, 0x33, 0x11, 0x62, 0x08, 0x37,
                                   0x15, 0x66, 0x00, 0x00, 0x06, 0xB1, 0x01, 0x3C};
    ByteBuilder expected;
    expected.Text("MENU").Bytes({1, 7, 0, 0, 1}).Le16(1);
    expected.Text(fields.bytes.Str()).Text(item.bytes.Str());
    expected.Bytes({5, 0, 0, 0}).Le32(0).Le32(2).Le32(1);
    expected.Le32(static_cast<std::int32_t>(4 + zlib.size())).Le32(8);
    for (int b : zlib) expected.Bytes({b});

    EXPECT_EQ(AsString(WriteMenuBody(menu, 7)), expected.Str());
}

// Builds kept from one to the next (serve, edit): each body equals a fresh build's, the
// and a build keeps only the streams it used.
TEST(MenuBodyWriterTest, KeptStreamsGiveTheSameBodyAndOnlyTheLastBuildsAreKept) {
    PictureStreamCache streams;
    const struct {
        const char* change;
        std::uint32_t firstPixels[2];
        std::size_t kept;
    } builds[] = {
        {"first build", {0x10, 0x20}, 2},
        {"nothing changed", {0x10, 0x20}, 2},
        {"one picture's pixels changed", {0x10, 0x21}, 2},
        {"both pictures alike", {0x10, 0x10}, 1},
        {"a picture back as it was two builds ago", {0x10, 0x20}, 2},
    };
    for (const auto& b : builds) {
        MenuDefinition menu = TinyMenu();
        menu.pictures.StorePicture(0, 0, 0, Picture(3, 2, b.firstPixels[0]));
        menu.pictures.StorePicture(1, 0, 0, Picture(3, 2, b.firstPixels[1]));
        EXPECT_EQ(WriteMenuBody(menu, 7, &streams), WriteMenuBody(menu, 7)) << b.change;
        streams.BuildFinished();
        EXPECT_EQ(streams.Size(), b.kept) << b.change;
    }
}

TEST(MenuBodyWriterTest, WritesPicturesInRecordSetFrameOrder) {
    MenuDefinition menu;
    menu.items.resize(2);
    menu.pictures.StorePicture(2, 0, 0, Picture(1, 1, 0x000005));
    menu.pictures.StorePicture(1, 3, 0, Picture(1, 1, 0x000004));
    menu.pictures.StorePicture(1, 0, 2, Picture(1, 1, 0x000003));
    menu.pictures.StorePicture(1, 0, 1, Picture(1, 1, 0x000002));
    menu.pictures.StorePicture(0, 0, 0, Picture(1, 1, 0x000001));
    menu.pictures.StorePicture(1, 1, 0, std::make_shared<Bitmap>());  // empty: not stored

    const std::string body = AsString(WriteMenuBody(menu, 6));
    ASSERT_EQ(static_cast<unsigned char>(body[9]), 5);  // picture count
    const std::string records = body.substr(body.size() - 5 * 20);
    for (int n = 0; n < 5; ++n) {
        EXPECT_EQ(static_cast<unsigned char>(records[n * 20 + 16]), n + 1) << "record " << n;
    }
}

// A menu whose every field differs from its default and from its neighbours.
MenuDefinition FullMenu() {
    MenuDefinition m;
    m.title = "Title";
    m.placement = 9;
    m.defaultDescription = "Pick one";
    m.descriptionFont = {"Verdana", 11, {true, true, false}};
    m.descriptionColor = 0x00112233;
    m.descriptionBounds = {-3, 4, 500, 60};
    m.descriptionAlignment = 2;
    m.showTime = true;
    m.showDate = false;
    m.clockColor = 0x00445566;
    m.timePosition = {7, 8};
    m.datePosition = {9, 10};
    m.initialItem = 2;
    ambrevo::testing::FakeDebugOutput debug;
    m.shapeColor = static_cast<std::int32_t>(QBColor(13, debug));
    m.descriptionPicturePosition = {11, 12};
    m.animationInterval = 75;
    m.scrollTitle = true;
    m.windowShape = "00020002Y000200000001";
    m.timeFont = {"Courier", 12, {false, true, false}};
    m.dateFont = {"Times", 13, {false, false, true}};
    m.shadowOffset = 2;
    m.shadowColor = 0x00778899;
    m.expiryYear = 2030;
    m.expiryMonth = 12;
    m.expiryDay = 31;
    m.expiryMessage = "Expired\r\nline two";
    for (int n = 1; n <= 2; ++n) {
        MenuItem item;
        item.target = n == 1 ? "%docs/manual.pdf" : "$Hello\xB6world";
        item.parameters = "/s " + std::to_string(n);
        item.description = "Item " + std::to_string(n);
        item.left = 100 + n;
        item.top = -n;
        item.minimizeAfterLaunch = n == 1;
        item.exitAfterLaunch = n == 2;
        item.animationMode = 3 + n;
        item.shortcutKey = std::to_string(n);
        item.showMode = n;
        item.autoRestore = n == 1;
        item.kind = n;
        item.caption = "&Caption";
        item.width = 120 + n;
        item.height = 30 + n;
        item.font = {"Georgia", 14 + n, {n == 1, n == 2, true}};
        item.fontColor = 0x80000008u + static_cast<ColorRef>(n);
        item.alignment = n;
        item.checkViewer = 1;
        item.viewerName = "Adobe Acrobat";
        item.viewerVersion = "6.0";
        item.viewerVersionMode = n == 1 ? 1 : 0;
        m.items.push_back(item);
    }
    m.pictures.StorePicture(0, 0, 0, Picture(3, 2));
    m.pictures.StorePicture(1, 0, 0, Picture(2, 2, 0x0000FF));
    m.pictures.StorePicture(1, 0, 1, Picture(2, 2, 0x00FF00));
    m.pictures.StorePicture(2, 3, 100, Picture(1, 3, 0x7F0000));
    return m;
}

class RoundTripTest : public ::testing::TestWithParam<int> {
protected:
    static MenuDefinition ReadBack(const std::vector<std::uint8_t>& body) {
        PackageStream stream(std::make_unique<MemoryFile>(body));
        LoadError loadError;
        TaggedReader reader(stream, loadError);
        ambrevo::testing::FakeDialogs dialogs;
        ambrevo::testing::FakeDebugOutput debug;
        MenuDefinition read;
        EXPECT_TRUE(ReadMenu(reader, dialogs, debug, "Ambrevo", read));
        EXPECT_FALSE(loadError.IsSet());
        EXPECT_EQ(stream.Remaining(), 0);
        return read;
    }
};

TEST_P(RoundTripTest, ReaderGetsBackEveryField) {
    const int version = GetParam();
    const MenuDefinition written = FullMenu();
    const MenuDefinition read = ReadBack(WriteMenuBody(written, version));

    MenuDefinition expected = written;
    if (version == 6) {
        expected.expiryYear = expected.expiryMonth = expected.expiryDay = 0;
        expected.expiryMessage.clear();
        for (MenuItem& item : expected.items) {
            const MenuItem v6;
            item.font = v6.font;
            item.fontColor = v6.fontColor;
            item.alignment = v6.alignment;
            item.checkViewer = v6.checkViewer;
            item.viewerName = v6.viewerName;
            item.viewerVersion = v6.viewerVersion;
            item.viewerVersionMode = v6.viewerVersionMode;
        }
    }
    EXPECT_EQ(read.header.version, version);
    EXPECT_EQ(WindowFields(read), WindowFields(expected));
    ASSERT_EQ(read.items.size(), expected.items.size());
    for (std::size_t i = 0; i < read.items.size(); ++i) {
        EXPECT_EQ(ItemFields(read.items[i]), ItemFields(expected.items[i])) << "item " << i + 1;
    }
    for (int record = 0; record < kPictureRecords; ++record) {
        for (int set = 0; set < kPictureSets; ++set) {
            for (int frame = 0; frame < kPictureFrames; ++frame) {
                const auto want = written.pictures.Picture(record, set, frame);
                const auto got = read.pictures.Picture(record, set, frame);
                ASSERT_EQ(want != nullptr, got != nullptr) << record << "/" << set << "/" << frame;
                if (want == nullptr) continue;
                EXPECT_EQ(got->width, want->width);
                EXPECT_EQ(got->height, want->height);
                EXPECT_EQ(got->pixels, want->pixels);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, RoundTripTest, ::testing::Values(6, 7));

TEST(MenuBodyWriterTest, ShapeColorIndexInvertsTheColourTable) {
    ambrevo::testing::FakeDebugOutput debug;
    EXPECT_EQ(ShapeColorIndex(-1), 0);
    for (std::int32_t index = 1; index <= 15; ++index) {
        EXPECT_EQ(ShapeColorIndex(static_cast<std::int32_t>(QBColor(index, debug))), index);
    }
    EXPECT_EQ(ShapeColorIndex(0), kBlackShapeIndex);
    EXPECT_EQ(QBColor(kBlackShapeIndex, debug), 0u);
    EXPECT_THROW(ShapeColorIndex(0x123456), PackError);
}

TEST(MenuBodyWriterTest, RefusesWhatTheFormatCannotHold) {
    MenuDefinition tooManyItems;
    tooManyItems.items.resize(101);
    EXPECT_THROW(WriteMenuBody(tooManyItems, 7), PackError);
    const MenuDefinition empty;
    EXPECT_THROW(WriteMenuBody(empty, 5), PackError);
    EXPECT_THROW(WriteMenuBody(empty, 8), PackError);

    MenuDefinition badPicture;
    auto picture = std::make_shared<Bitmap>();
    picture->width = 2;
    picture->height = 2;
    picture->pixels.resize(3, 0);  // fewer pixels than width x height
    badPicture.pictures.StorePicture(0, 0, 0, picture);
    EXPECT_THROW(WriteMenuBody(badPicture, 7), PackError);
}

}  // namespace
}  // namespace ambrevo::pack
