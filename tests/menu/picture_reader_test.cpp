#include "menu/picture_reader.h"

#include <gtest/gtest.h>

#include <limits>

#include "menu_test_support.h"
#include "support/app_error.h"

namespace ambrevo {
namespace {

using testing::ByteBuilder;
using testing::CompressedRecord;
using testing::PixelBytes;
using testing::PixelPattern;
using testing::RawRecord;
using testing::StreamUnderTest;
using testing::Zlib;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// Reads one record and expects the AppError text.
void ExpectReadFails(const std::string& bytes, int version, const std::string& text) {
    StreamUnderTest in(bytes);
    try {
        ReadPicture(in.Reader(), version);
        ADD_FAILURE() << "no error, expected \"" << text << "\"";
    } catch (const AppError& error) {
        EXPECT_EQ(error.what(), text);
    }
}

TEST(PictureReaderTest, Version7Record500x500_Occupies20PlusLBytes) {
    const auto pixels = PixelPattern(500 * 500);
    const std::string stream = Zlib(PixelBytes(pixels), 9);
    ASSERT_EQ(static_cast<unsigned char>(stream[0]), 0x78);
    ASSERT_EQ(static_cast<unsigned char>(stream[1]), 0xDA);
    const auto blockLength = static_cast<std::int32_t>(4 + stream.size());

    const std::string record = CompressedRecord(0, 0, 0, 500, 500, blockLength, 1'000'000, stream);
    ASSERT_EQ(record.size(), 20u + static_cast<std::size_t>(blockLength));

    StreamUnderTest in(record + "next");
    const PictureRecord read = ReadPicture(in.Reader(), 7);
    EXPECT_EQ(in.Position(), 20 + blockLength);
    EXPECT_FALSE(in.Error().IsSet());
    ASSERT_NE(read.picture, nullptr);
    EXPECT_EQ(read.picture->width, 500);
    EXPECT_EQ(read.picture->height, 500);
    EXPECT_EQ(read.picture->pixels, pixels);
}

TEST(PictureReaderTest, AnyValidZlibHeaderWorks) {
    const auto pixels = PixelPattern(7 * 3, 5);
    for (int level : {0, 1, 6, 9}) {
        StreamUnderTest in(CompressedRecord(1, 2, 3, 7, 3, pixels, level));
        const PictureRecord read = ReadPicture(in.Reader(), 7);
        ASSERT_NE(read.picture, nullptr) << "level " << level;
        EXPECT_EQ(read.picture->pixels, pixels) << "level " << level;
        EXPECT_EQ(in.Stream().Remaining(), 0) << "level " << level;
    }
}

TEST(PictureReaderTest, Version6RecordOfWxH_Occupies16Plus4WHBytes) {
    const int width = 3, height = 2;
    const std::string record = ByteBuilder()
                                   .Bytes({5, 0x7F, 4, 2})
                                   .Le32(9)  // spare byte is ignored
                                   .Le32(width)
                                   .Le32(height)
                                   .Bytes({0x01, 0x02, 0x03, 0x00, 0x10, 0x20, 0x30, 0x00})
                                   .Bytes({0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00})
                                   .Bytes({0x00, 0x00, 0xFF, 0x00, 0xAA, 0xBB, 0xCC, 0xDD})
                                   .Str();
    ASSERT_EQ(record.size(), 16u + 4u * width * height);

    StreamUnderTest in(record + "x");
    const PictureRecord read = ReadPicture(in.Reader(), 6);
    EXPECT_EQ(in.Position(), 16 + 4 * width * height);
    EXPECT_FALSE(in.Error().IsSet());
    EXPECT_EQ(read.slot.record, 4);
    EXPECT_EQ(read.slot.set, 2);
    EXPECT_EQ(read.slot.frame, 9);
    ASSERT_NE(read.picture, nullptr);
    const Bitmap& bitmap = *read.picture;
    // Value k is column k mod width, row k div width, read as 0x00RRGGBB.
    EXPECT_EQ(bitmap.At(0, 0), 0x00030201u);
    EXPECT_EQ(bitmap.At(1, 0), 0x00302010u);
    EXPECT_EQ(bitmap.At(2, 0), 0x000000FFu);
    EXPECT_EQ(bitmap.At(0, 1), 0x0000FF00u);
    EXPECT_EQ(bitmap.At(1, 1), 0x00FF0000u);
    EXPECT_EQ(bitmap.At(2, 1), 0xDDCCBBAAu);  // the fourth byte is copied unchanged
}

TEST(PictureReaderTest, YieldsRecordSetAndFrame_OfBothLayouts) {
    const auto pixels = PixelPattern(2 * 2);
    for (int version : {6, 7, 8}) {
        StreamUnderTest in(testing::Record(version, 100, 3, 100, 2, 2, pixels));
        const PictureRecord read = ReadPicture(in.Reader(), version);
        EXPECT_EQ(read.slot.record, 100);
        EXPECT_EQ(read.slot.set, 3);
        EXPECT_EQ(read.slot.frame, 100);
        ASSERT_NE(read.picture, nullptr);
        EXPECT_EQ(read.picture->pixels, pixels);
        EXPECT_EQ(in.Stream().Remaining(), 0);
    }
}

TEST(PictureReaderTest, WrongTag_SetsLoadErrorConsumesTwoBytesAndGivesNoPicture) {
    for (int version : {6, 7}) {
        for (int tag : {0, 2, 4, 6, 0xFF}) {
            StreamUnderTest in(ByteBuilder().Bytes({tag, 0, 1, 2}).Le32(0).Le32(1).Le32(1).Str());
            const PictureRecord read = ReadPicture(in.Reader(), version);
            EXPECT_TRUE(in.Error().IsSet()) << "tag " << tag;
            EXPECT_EQ(in.Position(), 2) << "tag " << tag;
            EXPECT_EQ(read.picture, nullptr);
            EXPECT_EQ(read.slot.record, 0);
        }
    }
}

TEST(PictureReaderTest, RawRecordCutShort_SetsLoadErrorAndGivesAnEmptyPicture) {
    StreamUnderTest in(RawRecord(0, 0, 0, 2, 2, PixelBytes({0x112233, 0x445566}) + "\x77"));
    const PictureRecord read = ReadPicture(in.Reader(), 6);
    EXPECT_TRUE(in.Error().IsSet());
    ASSERT_NE(read.picture, nullptr);
    EXPECT_TRUE(read.picture->Empty());
    EXPECT_EQ(in.Stream().Remaining(), 0);
}

// A picture is made only when its record holds enough data to fill it, so a few bytes
// cannot ask for a gigabyte; the record's data is consumed and checked all the same.
TEST(PictureReaderTest, PictureLargerThanItsRecordCanFill_IsNotMade) {
    const std::string empty = Zlib("");
    const auto emptyLength = static_cast<std::int32_t>(4 + empty.size());
    const std::string zeros = Zlib(std::string(4'000'000, '\0'));  // near deflate's limit
    const auto zerosLength = static_cast<std::int32_t>(4 + zeros.size());
    ASSERT_GT(4'000'000 / zeros.size(), 1000u);
    // Rows of 1000 pixels: one more than the most that block could fill.
    const auto rowsBeyond =
        static_cast<std::int32_t>(kMaxInflateRatio * (zerosLength - 4) / 4000 + 1);
    struct Case {
        const char* what;
        std::string record;
        int version;
        bool made;
    } cases[] = {
        {"raw, 4 of 1 GiB", RawRecord(0, 0, 0, 16384, 16384, "abcd"), 6, false},
        {"U = 0 of 1 GiB", CompressedRecord(0, 0, 0, 16384, 16384, emptyLength, 0, empty), 7,
         false},
        {"4 MB from 4 KB", CompressedRecord(0, 0, 0, 1000, 1000, zerosLength, 4'000'000, zeros), 7,
         true},
        {"one row beyond",
         CompressedRecord(0, 0, 0, 1000, rowsBeyond, zerosLength, 4'000'000, zeros), 7, false},
    };
    for (const Case& c : cases) {
        StreamUnderTest in(c.record + "after");
        const PictureRecord read = ReadPicture(in.Reader(), c.version);
        ASSERT_NE(read.picture, nullptr) << c.what;
        EXPECT_EQ(read.picture->Empty(), !c.made) << c.what;
        EXPECT_EQ(in.Error().IsSet(), !c.made) << c.what;
        EXPECT_EQ(in.Stream().Remaining(), c.version == 6 ? 0 : 5) << c.what;
    }
    // What the block cannot supply is still a short stream, and damage is still damage.
    ExpectReadFails(CompressedRecord(0, 0, 0, 16384, 16384, emptyLength, 1 << 30, empty), 7,
                    "Stream read error");
    ExpectReadFails(CompressedRecord(0, 0, 0, 16384, 16384, 6, 0, std::string("\x78\x00", 2)), 7,
                    "Error");
}

// Records for slots the table has no room for are read past without a picture (and so
// without allocating one); damage in them is reported exactly as in any other record.
TEST(PictureReaderTest, RecordsOutsideTheTable_AreReadPastWithoutAPicture) {
    const auto pixels = PixelPattern(4);
    const std::string damagedStream("\x78\x00", 2);
    struct Slot {
        int record, set, frame;
    };
    for (const Slot s :
         {Slot{101, 0, 0}, Slot{255, 0, 0}, Slot{1, 4, 0}, Slot{1, 0, 101}, Slot{1, 0, -2}}) {
        for (int version : {6, 7}) {
            const std::string record =
                testing::Record(version, s.record, s.set, s.frame, 2, 2, pixels);
            StreamUnderTest in(record + testing::Record(version, 1, 0, 0, 2, 2, pixels));
            PictureDecoder decoder;
            const PictureRecord read = decoder.ReadPicture(in.Reader(), version);
            EXPECT_EQ(read.picture, nullptr) << s.record << " " << s.set << " " << s.frame;
            EXPECT_EQ(read.slot.frame, s.frame);
            EXPECT_EQ(in.Position(), static_cast<std::int64_t>(record.size()));
            EXPECT_EQ(decoder.ReadPicture(in.Reader(), version).picture->pixels, pixels);
            EXPECT_FALSE(in.Error().IsSet());
        }
        // A huge picture cut short, a damaged and a short block: reported as ever.
        StreamUnderTest cut(RawRecord(s.record, s.set, s.frame, 16384, 16384, "abcd"));
        EXPECT_EQ(ReadPicture(cut.Reader(), 6).picture, nullptr);
        EXPECT_TRUE(cut.Error().IsSet());
        EXPECT_EQ(cut.Stream().Remaining(), 0);
        ExpectReadFails(CompressedRecord(s.record, s.set, s.frame, 2, 2, 6, 16, damagedStream), 7,
                        "Error");
        ExpectReadFails(CompressedRecord(s.record, s.set, s.frame, 2, 2, 4, 16, ""), 7,
                        "Stream read error");
    }
}

TEST(PictureReaderTest, WidthOrHeightZeroOrBelow_GivesEmptyPictureAndKeepsStreamInStep) {
    struct Case {
        std::int32_t width, height;
    };
    for (const Case c : {Case{0, 5}, Case{5, 0}, Case{-1, 3}, Case{3, -1}, Case{-4, -4},
                         Case{std::numeric_limits<std::int32_t>::min(), 2}}) {
        const auto next = PixelPattern(1, 9);
        // Version 6: an empty picture has no pixel bytes.
        StreamUnderTest raw(RawRecord(0, 0, 0, c.width, c.height, "") +
                            RawRecord(1, 0, 0, 1, 1, PixelBytes(next)));
        PictureDecoder rawDecoder;
        const PictureRecord empty = rawDecoder.ReadPicture(raw.Reader(), 6);
        ASSERT_NE(empty.picture, nullptr);
        EXPECT_TRUE(empty.picture->Empty());
        EXPECT_EQ(empty.picture->width, 0);
        EXPECT_EQ(empty.picture->height, 0);
        EXPECT_EQ(raw.Position(), 16);
        EXPECT_EQ(rawDecoder.ReadPicture(raw.Reader(), 6).picture->pixels, next);

        // Version 7: the block is read and checked all the same.
        const std::string block = Zlib(PixelBytes(PixelPattern(6)));
        StreamUnderTest packed(CompressedRecord(0, 0, 0, c.width, c.height,
                                                static_cast<std::int32_t>(4 + block.size()), 24,
                                                block) +
                               CompressedRecord(1, 0, 0, 1, 1, next));
        PictureDecoder packedDecoder;
        EXPECT_TRUE(packedDecoder.ReadPicture(packed.Reader(), 7).picture->Empty());
        EXPECT_EQ(packed.Position(), static_cast<std::int64_t>(24 + block.size()));
        EXPECT_EQ(packedDecoder.ReadPicture(packed.Reader(), 7).picture->pixels, next);
        EXPECT_FALSE(raw.Error().IsSet() || packed.Error().IsSet());
    }
}

TEST(PictureReaderTest, SidesAbove16384_AreDamagedPictures) {
    struct Case {
        std::int32_t width, height;
    };
    for (const Case c :
         {Case{16385, 1}, Case{1, 16385}, Case{kMax, kMax}, Case{kMax, -1}, Case{-1, kMax}}) {
        ExpectReadFails(RawRecord(0, 0, 0, c.width, c.height, "abcd"), 6, "Error");
        ExpectReadFails(CompressedRecord(0, 0, 0, c.width, c.height, 4, 0, ""), 7, "Error");
    }
}

TEST(PictureReaderTest, SideOf16384IsAccepted) {
    StreamUnderTest in(CompressedRecord(0, 0, 0, 16384, 1, PixelPattern(16384)));
    const PictureRecord read = ReadPicture(in.Reader(), 7);
    EXPECT_EQ(read.picture->width, 16384);
    EXPECT_EQ(read.picture->pixels, PixelPattern(16384));
}

TEST(PictureReaderTest, DamagedZlibStream_IsError) {
    const std::string good = Zlib(PixelBytes(PixelPattern(64)));
    auto damaged = [&](std::size_t at, char value) {
        std::string stream = good;
        stream[at] = value;
        return stream;
    };
    std::string badAdler = good;
    badAdler.back() = static_cast<char>(badAdler.back() ^ 1);
    const std::string cases[] = {
        damaged(0, 0x77),                                    // not deflate
        damaged(1, 0x00),                                    // header check fails
        std::string("\x78\x9C\xFF\xFF\xFF\xFF\xFF\xFF", 8),  // invalid block type
        badAdler,                                            // Adler-32 mismatch
        std::string("\x78\xBB\x00\x00\x00\x01", 6),          // asks for a preset dictionary
    };
    for (const std::string& stream : cases) {
        ExpectReadFails(CompressedRecord(0, 0, 0, 8, 8,
                                         static_cast<std::int32_t>(4 + stream.size()), 256, stream),
                        7, "Error");
    }
}

TEST(PictureReaderTest, ShortBlockOrStream_IsStreamReadError) {
    const std::string stream = Zlib(PixelBytes(PixelPattern(64)));
    const auto fullLength = static_cast<std::int32_t>(4 + stream.size());
    const std::string cases[] = {
        // The zlib stream is cut short inside the block.
        CompressedRecord(0, 0, 0, 8, 8, fullLength - 6, 256, stream.substr(0, stream.size() - 6)),
        // The stream ends properly but yields fewer than U bytes.
        CompressedRecord(0, 0, 0, 8, 8, fullLength, 257, stream),
        // L runs past the end of the package stream.
        CompressedRecord(0, 0, 0, 8, 8, fullLength + 1, 256, stream),
        CompressedRecord(0, 0, 0, 8, 8, kMax, 256, stream),
        // L too small to hold U.
        CompressedRecord(0, 0, 0, 8, 8, 3, 256, stream),
        CompressedRecord(0, 0, 0, 8, 8, 0, 256, stream),
        CompressedRecord(0, 0, 0, 8, 8, -1, 256, stream),
        // The package stream ends inside L, inside U, and right after the block header.
        testing::RecordStart(0, 0, 0).Le32(8).Le32(8).Bytes({0x10, 0}).Str(),
        testing::RecordStart(0, 0, 0).Le32(8).Le32(8).Le32(8).Bytes({0, 1}).Str(),
        // L = 4: U and no zlib stream at all.
        CompressedRecord(0, 0, 0, 8, 8, 4, 256, ""),
    };
    for (const std::string& record : cases) ExpectReadFails(record, 7, "Stream read error");
}

TEST(PictureReaderTest, NegativeRawSize_IsError) {
    ExpectReadFails(CompressedRecord(0, 0, 0, 1, 1, 6, -1, "\x78\x9C"), 7, "Error");
}

TEST(PictureReaderTest, RawSizeBelowPicture_LeavesTheRestZero) {
    const auto pixels = PixelPattern(4);
    const std::string raw = PixelBytes(pixels);
    // U = 8 of a 16-byte stream: the first two pixels are taken, the output beyond U ignored.
    const std::string stream = Zlib(raw);
    StreamUnderTest in(
        CompressedRecord(0, 0, 0, 2, 2, static_cast<std::int32_t>(4 + stream.size()), 8, stream) +
        "after");
    const PictureRecord read = ReadPicture(in.Reader(), 7);
    EXPECT_EQ(read.picture->pixels, (Pixels{pixels[0], pixels[1], 0, 0}));
    EXPECT_EQ(in.Stream().Remaining(), 5);
    EXPECT_FALSE(in.Error().IsSet());
}

TEST(PictureReaderTest, RawSizeAbovePicture_IsInflatedCheckedAndDropped) {
    const auto pixels = PixelPattern(100'000);  // more than the fixed excess buffer
    const std::string raw = PixelBytes(pixels);
    const std::string stream = Zlib(raw);
    const auto length = static_cast<std::int32_t>(4 + stream.size());
    const auto rawSize = static_cast<std::int32_t>(raw.size());

    StreamUnderTest in(CompressedRecord(0, 0, 0, 2, 3, length, rawSize, stream) + "after");
    const PictureRecord read = ReadPicture(in.Reader(), 7);
    EXPECT_EQ(read.picture->pixels, Pixels(pixels.begin(), pixels.begin() + 6));
    EXPECT_EQ(in.Stream().Remaining(), 5);

    // A stream that ends before U is still found out, and so is damage past the picture.
    ExpectReadFails(CompressedRecord(0, 0, 0, 2, 3, length, rawSize + 1, stream), 7,
                    "Stream read error");
    std::string badAdler = stream;
    badAdler.back() = static_cast<char>(badAdler.back() ^ 0x40);
    ExpectReadFails(CompressedRecord(0, 0, 0, 2, 3, length, rawSize, badAdler), 7, "Error");
}

TEST(PictureReaderTest, BytesAfterTheZlibStreamInTheBlock_AreSkipped) {
    const auto pixels = PixelPattern(3);
    const std::string stream = Zlib(PixelBytes(pixels)) + "junk";
    StreamUnderTest in(
        CompressedRecord(0, 0, 0, 3, 1, static_cast<std::int32_t>(4 + stream.size()), 12, stream) +
        CompressedRecord(1, 0, 0, 3, 1, pixels));
    PictureDecoder decoder;
    EXPECT_EQ(decoder.ReadPicture(in.Reader(), 7).picture->pixels, pixels);
    EXPECT_EQ(decoder.ReadPicture(in.Reader(), 7).picture->pixels, pixels);
    EXPECT_EQ(in.Stream().Remaining(), 0);
}

TEST(PictureReaderTest, ExternalPicture_IsSkippedAndGivesNoPicture) {
    const auto pixels = PixelPattern(2);
    for (int version : {6, 7}) {
        const std::string external =
            testing::RecordStart(2, 1, -1).Le32(77).Le32(9).Le32(88).Text("pic\\a.bmp").Str();
        StreamUnderTest in(external + testing::Record(version, 3, 0, 0, 2, 1, pixels));
        PictureDecoder decoder;
        const PictureRecord read = decoder.ReadPicture(in.Reader(), version);
        EXPECT_EQ(read.picture, nullptr);
        EXPECT_EQ(read.slot.frame, -1);
        EXPECT_EQ(in.Position(), static_cast<std::int64_t>(external.size()));
        EXPECT_EQ(decoder.ReadPicture(in.Reader(), version).picture->pixels, pixels);
        EXPECT_FALSE(in.Error().IsSet());
    }
}

TEST(PictureReaderTest, ExternalPictureNameBeyondTheStream_SetsLoadError) {
    StreamUnderTest in(
        testing::RecordStart(2, 1, -1).Le32(0).Le32(100).Le32(0).Text("a.bmp").Str());
    EXPECT_EQ(ReadPicture(in.Reader(), 7).picture, nullptr);
    EXPECT_TRUE(in.Error().IsSet());
    EXPECT_EQ(in.Stream().Remaining(), 0);
}

TEST(PictureReaderTest, OneDecoderReadsManyRecordsOfMixedSizes) {
    std::string bytes;
    std::vector<Pixels> expected;
    for (int n = 0; n < 20; ++n) {
        const int width = 1 + (n * 37) % 200, height = 1 + (n * 11) % 50;
        expected.push_back(PixelPattern(static_cast<std::size_t>(width * height), n + 1u));
        bytes += CompressedRecord(n, 0, 0, width, height, expected.back());
    }
    StreamUnderTest in(bytes);
    PictureDecoder decoder;
    for (const auto& pixels : expected) {
        EXPECT_EQ(decoder.ReadPicture(in.Reader(), 7).picture->pixels, pixels);
    }
    EXPECT_EQ(in.Stream().Remaining(), 0);
}

}  // namespace
}  // namespace ambrevo
