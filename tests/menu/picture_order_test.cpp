// A menu's pictures are decoded on worker threads while the reader moves on, and the
// caller may do other work between steps of the load; what the load gives must not show
// it: the same table, debug lines and LoadError as reading one record at a time, and the
// first failing record in file order ends the load.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "fakes/fake_debug_output.h"
#include "menu/picture_load.h"
#include "menu/picture_reader.h"
#include "menu/picture_table.h"
#include "menu_test_support.h"
#include "support/app_error.h"

namespace ambrevo {
namespace {

using testing::CompressedRecord;
using testing::FakeDebugOutput;
using testing::FileKind;
using testing::PixelPattern;
using testing::StreamUnderTest;

std::string Line(int n) { return "**** Getting Image " + std::to_string(n) + " **** "; }

// Loads the pictures as the menu load does when steps is above 0: steps calls of Advance,
// as between the items' controls, before Finish. Advance must write no line. Gives the
// most pixel bytes the load held ahead at once.
std::int64_t Load(TaggedReader& reader, FakeDebugOutput& debug, int count, PictureTable& table,
                  int steps) {
    PictureLoad load(reader, debug, count, 7, table);
    for (int step = 0; step < steps; ++step) {
        load.Advance();
        EXPECT_TRUE(debug.lines.empty()) << "step " << step;
    }
    load.Finish();
    return load.PeakPictureBytesAhead();
}

// Every kind of record a load meets, many times over, so that blocks are in flight
// while others are read: small and whole-stream blocks, blocks over the whole-stream
// limit, empty pictures, slots outside the table, later records replacing earlier ones,
// raw sizes short of and beyond the picture, a picture its block cannot fill.
std::string MixedRecords(int& count) {
    std::string bytes;
    count = 0;
    const auto add = [&](const std::string& record) {
        bytes += record;
        ++count;
    };
    for (int round = 0; round < 12; ++round) {
        for (int frame = 0; frame < 8; ++frame) {
            add(testing::Record(7, 1 + round, frame % 3, frame, 16, 8,
                                PixelPattern(128, round * 8 + frame + 1)));
        }
        add(testing::Record(7, 0, 0, 0, 200, 200, PixelPattern(40000, round + 1)));  // > 128 KiB
        add(testing::Record(7, 7, 0, 0, 0, 5, {}));
        add(testing::Record(7, 101, 0, 0, 4, 4, PixelPattern(16, 9)));
        const std::string raw = testing::PixelBytes(PixelPattern(16, round + 3));
        const std::string stream = testing::Zlib(raw);
        add(CompressedRecord(8, round % 4, 1, 4, 8, 4 + static_cast<int>(stream.size()), 64,
                             stream));  // fills half the picture
        add(CompressedRecord(9, round % 4, 1, 2, 2, 4 + static_cast<int>(stream.size()), 64,
                             stream));  // more than the picture
        add(CompressedRecord(10, 0, 0, 4000, 4000, 4 + static_cast<int>(stream.size()), 64,
                             stream));  // cannot fill its picture: LoadError
    }
    return bytes;
}

constexpr int kLargeSide = 2048;

// Pictures of 2048 x 2048 from blocks of 16 KiB, one after another into the background's
// slot, in twos and threes between small item pictures: reading one record at a time
// holds one large picture at a time.
std::string LargePicturesReplacingOneSlot(int& count) {
    std::string bytes;
    count = 0;
    for (int n = 1; n <= 9; ++n) {
        // Stored, not compressed: a stream just long enough to be able to fill the picture.
        const std::string raw = testing::PixelBytes(PixelPattern(4096, n));
        const std::string stream = testing::Zlib(raw, 0);
        bytes +=
            CompressedRecord(0, 0, 0, kLargeSide, kLargeSide, 4 + static_cast<int>(stream.size()),
                             static_cast<int>(raw.size()), stream);
        ++count;
        if (n % 3 == 0 || n == 4) {
            bytes += testing::Record(7, n, 0, 0, 16, 8, PixelPattern(128, n));
            ++count;
        }
    }
    return bytes;
}

struct LoadOutcome {
    std::map<std::vector<int>, Pixels> pictures;  // slot -> pixels
    std::vector<std::string> lines;
    bool loadError = false;
    std::int64_t position = 0;
};

void Collect(const PictureTable& table, LoadOutcome& out) {
    for (int record = 0; record < kPictureRecords; ++record) {
        for (int set = 0; set < kPictureSets; ++set) {
            for (int frame = 0; frame < kPictureFrames; ++frame) {
                if (const auto p = table.Picture(record, set, frame)) {
                    auto& pixels = out.pictures[{record, set, frame, p->width, p->height}];
                    pixels = p->pixels;
                }
            }
        }
    }
}

LoadOutcome ReadOneRecordAtATime(const std::string& bytes, int count) {
    LoadOutcome outcome;
    StreamUnderTest in(bytes);
    PictureDecoder decoder;
    PictureTable table;
    for (int n = 1; n <= count; ++n) {
        outcome.lines.push_back(Line(n));
        PictureRecord record = decoder.ReadPicture(in.Reader(), 7);
        if (record.picture) {
            table.StorePicture(record.slot.record, record.slot.set, record.slot.frame,
                               record.picture);
        }
    }
    Collect(table, outcome);
    outcome.loadError = in.Error().IsSet();
    outcome.position = in.Position();
    return outcome;
}

TEST(PictureOrderTest, ALoadGivesWhatReadingOneRecordAtATimeGives) {
    const struct {
        const char* name;
        std::string (*records)(int& count);
        bool loadError;
        std::int64_t largestPicture;  // pixel bytes of the largest picture made
    } cases[] = {
        {"mixed records", MixedRecords, true, 200 * 200 * 4},
        {"large pictures replacing one slot", LargePicturesReplacingOneSlot, false,
         std::int64_t{kLargeSide} * kLargeSide * 4},
    };
    const std::int64_t picturesAhead = PictureDecoder().Limit().pictureBytes;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int count = 0;
        const std::string bytes = c.records(count);
        const LoadOutcome oneAtATime = ReadOneRecordAtATime(bytes, count);
        EXPECT_EQ(oneAtATime.loadError, c.loadError);

        // Thread timing differs too; blocks are taken in place from a file in memory and
        // copied from one on a disc.
        for (const int steps : {0, 1, 3, 40, 0, 200}) {
            const FileKind kind = steps % 2 == 0 ? FileKind::InMemory : FileKind::OnDisc;
            StreamUnderTest in(bytes, kind);
            FakeDebugOutput debug;
            PictureTable table;
            const std::int64_t peak = Load(in.Reader(), debug, count, table, steps);
            LoadOutcome loaded;
            Collect(table, loaded);
            loaded.lines = debug.lines;
            loaded.loadError = in.Error().IsSet();
            loaded.position = in.Position();
            EXPECT_EQ(loaded.pictures, oneAtATime.pictures);
            EXPECT_EQ(loaded.lines, oneAtATime.lines);
            EXPECT_EQ(loaded.loadError, oneAtATime.loadError);
            EXPECT_EQ(loaded.position, oneAtATime.position);
            EXPECT_LE(peak, picturesAhead + c.largestPicture) << "steps " << steps;
        }
    }
}

// Ways a record fails: found while decoding on a worker, or while reading it; and a
// record that does not fail but sets the LoadError.
enum class Fault { Damaged, Short, TooWide, CutOff, SetsLoadError };

std::string FaultyRecord(Fault fault, int frame) {
    const std::string raw = testing::PixelBytes(PixelPattern(16));
    const std::string stream = testing::Zlib(raw);
    const int block = 4 + static_cast<int>(stream.size());
    switch (fault) {
        case Fault::Damaged:  // a zlib header no decoder accepts: "Error"
            return CompressedRecord(1, 0, frame, 4, 4, block, 64,
                                    std::string("\x78\x00", 2) + stream.substr(2));
        case Fault::Short:  // the stream ends before its raw size: "Stream read error"
            return CompressedRecord(1, 0, frame, 4, 4, block, 128, stream);
        case Fault::TooWide:  // refused before its block is read: "Error"
            return CompressedRecord(1, 0, frame, 20000, 4, block, 64, stream);
        case Fault::CutOff:  // a block beyond the end of the stream: "Stream read error"
            return CompressedRecord(1, 0, frame, 4, 4, 1 << 30, 64, stream);
        case Fault::SetsLoadError:  // a picture its block cannot fill: stored empty
            return CompressedRecord(1, 0, frame, 4000, 4000, block, 64, stream);
    }
    return {};
}

TEST(PictureOrderTest, TheFirstFailingRecordInFileOrderEndsTheLoad) {
    struct Case {
        std::map<int, Fault> faults;  // record number -> its fault; the others are good
        int records;
        const char* message;
        int firstNotStored;
        bool loadError = false;  // as reading the records up to the failing one leaves it
    };
    const Case cases[] = {
        {{{3, Fault::Short}, {6, Fault::TooWide}}, 12, "Stream read error", 3},
        {{{5, Fault::Damaged}, {9, Fault::CutOff}}, 9, "Error", 5},
        {{{1, Fault::Short}, {2, Fault::TooWide}}, 12, "Stream read error", 1},
        {{{2, Fault::Damaged}, {3, Fault::Short}}, 12, "Error", 2},
        {{{7, Fault::CutOff}}, 7, "Stream read error", 7},
        {{{4, Fault::TooWide}}, 12, "Error", 4},
        {{{12, Fault::Damaged}}, 12, "Error", 12},
        // Records read ahead of the failing one leave no trace in the LoadError.
        {{{3, Fault::Damaged}, {5, Fault::SetsLoadError}}, 12, "Error", 3, false},
        {{{4, Fault::TooWide}, {2, Fault::SetsLoadError}}, 12, "Error", 4, true},
        {{{2, Fault::SetsLoadError}, {6, Fault::Short}}, 12, "Stream read error", 6, true},
    };
    for (const Case& c : cases) {
        for (const int steps : {0, 1, 5}) {
            std::string bytes;
            for (int n = 1; n <= c.records; ++n) {
                const auto fault = c.faults.find(n);
                bytes += fault == c.faults.end()
                             ? testing::Record(7, 1, 0, n, 4, 4, PixelPattern(16, n))
                             : FaultyRecord(fault->second, n);
            }
            StreamUnderTest in(bytes);
            FakeDebugOutput debug;
            PictureTable table;
            std::string message = "no error";
            try {
                Load(in.Reader(), debug, c.records, table, steps);
            } catch (const AppError& error) {
                message = error.what();
            }
            SCOPED_TRACE("first failing record " + std::to_string(c.firstNotStored));
            EXPECT_EQ(message, c.message);
            std::vector<std::string> lines;
            for (int n = 1; n <= c.firstNotStored; ++n) lines.push_back(Line(n));
            EXPECT_EQ(debug.lines, lines);
            for (int n = 1; n <= c.records; ++n) {
                const bool stored = n < c.firstNotStored && !c.faults.contains(n);
                EXPECT_EQ(table.HasPicture(1, 0, n), stored) << "record " << n;
            }
            EXPECT_EQ(in.Error().IsSet(), c.loadError);
        }
    }
}

// The caller's own work failed between steps: nothing of the load is left.
TEST(PictureOrderTest, AnAbandonedLoadLeavesNoPictureAndNoLoadError) {
    std::string bytes;
    for (int n = 1; n <= 20; ++n) {
        bytes += n % 7 == 0 ? FaultyRecord(Fault::SetsLoadError, n)
                            : testing::Record(7, 1, 0, n, 4, 4, PixelPattern(16, n));
    }
    for (const bool loadErrorBefore : {false, true}) {
        StreamUnderTest in(bytes);
        if (loadErrorBefore) in.Error().Set();
        FakeDebugOutput debug;
        PictureTable table;
        PictureLoad load(in.Reader(), debug, 20, 7, table);
        while (!table.HasPicture(1, 0, 20)) load.Advance();
        load.Abandon();
        for (int n = 1; n <= 20; ++n) EXPECT_FALSE(table.HasPicture(1, 0, n)) << n;
        EXPECT_EQ(in.Error().IsSet(), loadErrorBefore);
        EXPECT_TRUE(debug.lines.empty());
    }
}

}  // namespace
}  // namespace ambrevo
