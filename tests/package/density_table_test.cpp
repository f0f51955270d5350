#include "package/density_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "package/memory_file.h"
#include "pack/writer/density_entry.h"
#include "pack/writer/tagged_writer.h"

namespace ambrevo {
namespace {

std::shared_ptr<const Bitmap> Solid(int width, int height, std::uint32_t colour) {
    return std::make_shared<Bitmap>(
        Bitmap{width, height, Pixels(static_cast<std::size_t>(width * height), colour)});
}

std::vector<std::uint8_t> Entry(int version) {
    const std::vector<pack::MenuDensityPictures> menus = {
        {"main.mnu",
         version,
         {{150, 0, 0, 0, Solid(6, 3, 0x112233)},
          {200, 0, 0, 0, Solid(8, 4, 0x445566)},
          {200, 2, 1, 5, Solid(2, 2, 0x778899)}}},
        {"more.mnu", version, {{200, 1, 3, 0, Solid(4, 2, 0xAABBCC)}}}};
    return pack::DensityEntry(menus)->data;
}

DensityTable ReadAt(const std::vector<std::uint8_t>& bytes, std::int64_t offset = 0) {
    PackageStream stream(std::make_unique<MemoryFile>(std::string(bytes.begin(), bytes.end())));
    return DensityTable::Read(stream, offset);
}

TEST(DensityTableTest, FindsEachRecordsScaleSlotSizeAndPlaceWithoutDecoding) {
    for (const int version : {6, 7}) {
        SCOPED_TRACE(version);
        std::vector<std::uint8_t> bytes(3, 0xEE);  // the entry need not start the file
        const std::vector<std::uint8_t> entry = Entry(version);
        bytes.insert(bytes.end(), entry.begin(), entry.end());
        const DensityTable table = ReadAt(bytes, 3);
        ASSERT_EQ(table.Damage(), DensityDamage::None);
        ASSERT_EQ(table.Menus().size(), 2u);
        const DensityMenu* main = table.Of("main.mnu");
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(main->version, version);
        ASSERT_EQ(main->records.size(), 3u);
        const DensityRecord& last = main->records[2];
        EXPECT_EQ((std::vector<int>{last.percent, last.record, last.set, last.frame, last.width,
                                    last.height}),
                  (std::vector<int>{200, 2, 1, 5, 2, 2}));
        EXPECT_EQ(main->records[0].width, 6);
        EXPECT_EQ(main->records[1].percent, 200);
        // Each place is a picture record's tag, after the scale's tagged integer.
        for (const DensityRecord& record : main->records) {
            EXPECT_EQ(bytes[static_cast<std::size_t>(record.position)], 5);
            EXPECT_EQ(bytes[static_cast<std::size_t>(record.position) - 9], 2);
        }
        EXPECT_EQ(table.Of("more.mnu")->records[0].set, 3);
        EXPECT_EQ(table.Of("other.mnu"), nullptr);
    }
}

// One menu with one picture record; each case damages one value.
TEST(DensityTableTest, DamageOfAnyPartGivesAnEmptyTableThatSaysWhat) {
    struct Case {
        const char* what;
        std::int32_t menus, version, pictures, percent;
        std::vector<std::uint8_t> record;  // after the scale
        DensityDamage damage;
    };
    const std::vector<std::uint8_t> header{5, 0, 1, 0, 0, 0, 0, 0};  // record 1, set 0, frame 0
    const auto record = [&](std::int32_t width, std::int32_t height, std::int32_t pixelBytes,
                            std::size_t stored) {
        pack::TaggedWriter out;
        out.RawBytes(header.data(), header.size());
        out.RawInt32(width);
        out.RawInt32(height);
        out.RawInt32(pixelBytes);  // version 7: the block length
        for (std::size_t i = 0; i < stored; ++i) out.RawByte(0);
        return out.TakeBytes();
    };
    // A record, then a second of that scale and record number (set and frame 0).
    const auto two = [&](int secondPercent, int secondRecord) {
        std::vector<std::uint8_t> bytes = record(1, 1, 8, 8);
        pack::TaggedWriter out;
        out.WriteInteger(secondPercent);
        std::vector<std::uint8_t> second = record(1, 1, 8, 8);
        second[2] = static_cast<std::uint8_t>(secondRecord);
        out.RawBytes(second.data(), second.size());
        const std::vector<std::uint8_t> tail = out.TakeBytes();
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };
    const std::vector<Case> cases = {
        {"sound", 1, 7, 1, 200, record(1, 1, 8, 8), DensityDamage::None},
        {"two in order", 1, 7, 2, 150, two(150, 2), DensityDamage::None},
        {"a larger scale after", 1, 7, 2, 150, two(200, 0), DensityDamage::None},
        {"a slot twice", 1, 7, 2, 150, two(150, 1), DensityDamage::Order},
        {"slots backwards", 1, 7, 2, 150, two(150, 0), DensityDamage::Order},
        {"a smaller scale after", 1, 7, 2, 200, two(150, 2), DensityDamage::Order},
        {"negative menu count", -1, 7, 1, 200, {}, DensityDamage::MenuCount},
        {"more menus than a package holds", 101, 7, 1, 200, {}, DensityDamage::MenuCount},
        {"version 5", 1, 5, 1, 200, {}, DensityDamage::MenuEntry},
        {"version 8", 1, 8, 1, 200, {}, DensityDamage::MenuEntry},
        {"negative picture count", 1, 7, -1, 200, {}, DensityDamage::PictureCount},
        {"too many pictures", 1, 7, kMaxDensityPictures + 1, 200, {}, DensityDamage::PictureCount},
        {"scale 100", 1, 7, 1, 100, record(1, 1, 8, 8), DensityDamage::Scale},
        {"scale 300", 1, 7, 1, 300, record(1, 1, 8, 8), DensityDamage::Scale},
        {"no record", 1, 7, 1, 200, {}, DensityDamage::Record},
        {"wrong tag", 1, 7, 1, 200, {2, 0, 1, 0, 0, 0, 0, 0}, DensityDamage::Record},
        {"width 0", 1, 7, 1, 200, record(0, 1, 8, 8), DensityDamage::Record},
        {"negative height", 1, 7, 1, 200, record(1, -1, 8, 8), DensityDamage::Record},
        {"block beyond the entry", 1, 7, 1, 200, record(1, 1, 9, 8), DensityDamage::Record},
        {"negative block", 1, 7, 1, 200, record(1, 1, -4, 8), DensityDamage::Record},
        // Version 6: the 4 bytes after the height are the pixels of a 1 x 1 picture.
        {"raw pixels there", 1, 6, 1, 150, record(1, 1, 0, 0), DensityDamage::None},
        {"raw pixels cut short", 1, 6, 1, 150, record(2, 1, 0, 0), DensityDamage::Record},
        {"second picture missing", 1, 7, 2, 200, record(1, 1, 8, 8), DensityDamage::Scale},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pack::TaggedWriter out;
        out.WriteInteger(c.menus);
        out.WriteString("main.mnu");
        out.WriteInteger(c.version);
        out.WriteInteger(c.pictures);
        out.WriteInteger(c.percent);
        out.RawBytes(c.record.data(), c.record.size());
        const DensityTable table = ReadAt(out.TakeBytes());
        EXPECT_EQ(table.Damage(), c.damage);
        EXPECT_EQ(table.Menus().empty(), c.damage != DensityDamage::None);
    }
}

TEST(DensityTableTest, EveryCutOfAnEntryIsDamagedAndAnOffsetOutsideTheFileToo) {
    const std::vector<std::uint8_t> entry = Entry(7);
    for (std::size_t size = 0; size < entry.size(); ++size) {
        const std::vector<std::uint8_t> cut(entry.begin(), entry.begin() + size);
        EXPECT_NE(ReadAt(cut).Damage(), DensityDamage::None) << size << " bytes";
    }
    EXPECT_EQ(ReadAt(entry, static_cast<std::int64_t>(entry.size()) + 1).Damage(),
              DensityDamage::MenuCount);
}

TEST(DensityTableTest, ChoosesPerSlotTheLeastScaleAtOrAboveTheScreensElseTheGreatest) {
    // Slot 0 has both scales, slot 1 only 1.5x, slot 2 only 2x, slot 3 both; slot 4 only
    // 1.5x, after the 2x run's last slot. Each record's place is its index.
    std::vector<DensityRecord> records;
    for (const auto& [percent, slot] : std::vector<std::pair<int, int>>{
             {150, 0}, {150, 1}, {150, 3}, {150, 4}, {200, 0}, {200, 2}, {200, 3}}) {
        records.push_back({percent, slot, 0, 0, 1, 1, static_cast<std::int64_t>(records.size())});
    }
    struct Case {
        int dpi;
        std::vector<std::int64_t> places;
    };
    const std::vector<Case> cases = {
        {96, {}},
        {72, {}},
        {97, {0, 1, 2, 3, 5}},
        {120, {0, 1, 2, 3, 5}},
        {144, {0, 1, 2, 3, 5}},
        {145, {1, 3, 4, 5, 6}},
        {192, {1, 3, 4, 5, 6}},
        {288, {1, 3, 4, 5, 6}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseDensityRecords(records, c.dpi), c.places) << c.dpi << " DPI";
    }
    // One scale only: it is taken at every density.
    const std::vector<DensityRecord> onlyLarge(records.begin() + 4, records.end());
    EXPECT_EQ(ChooseDensityRecords(onlyLarge, 120), (std::vector<std::int64_t>{4, 5, 6}));
    const std::vector<DensityRecord> onlySmall(records.begin(), records.begin() + 4);
    EXPECT_EQ(ChooseDensityRecords(onlySmall, 192), (std::vector<std::int64_t>{0, 1, 2, 3}));
}

}  // namespace
}  // namespace ambrevo
