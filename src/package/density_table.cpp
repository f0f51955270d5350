#include "package/density_table.h"

#include "package/load_error.h"
#include "package/package.h"
#include "package/tagged_reader.h"

namespace ambrevo {
namespace {

constexpr int kFirstCompressedVersion = 7;

bool IsDensityPercent(std::int32_t percent) { return percent == 150 || percent == 200; }

// The order of a menu's records: by slot, record first. Record and set are bytes and the
// frame is not negative, so the number keeps their order.
std::int64_t SlotKey(const DensityRecord& record) {
    return (std::int64_t{record.record} << 40) | (std::int64_t{record.set} << 32) | record.frame;
}

bool Before(const DensityRecord& a, const DensityRecord& b) {
    return a.percent != b.percent ? a.percent < b.percent : SlotKey(a) < SlotKey(b);
}

// Reads a record's place, slot and size and steps over its pixels. False when it is not
// a picture of some size whose pixels lie in the stream.
bool ReadRecord(TaggedReader& reader, int version, DensityRecord& record) {
    PackageStream& stream = reader.Stream();
    record.position = stream.Position();
    if (!reader.ExpectTag(ValueTag::Picture)) return false;
    reader.RawByte();  // spare
    record.record = reader.RawByte();
    record.set = reader.RawByte();
    record.frame = reader.RawInt32();
    record.width = reader.RawInt32();
    record.height = reader.RawInt32();
    if (reader.Errors().IsSet() || record.frame < 0 || record.width <= 0 || record.height <= 0) {
        return false;
    }
    std::int64_t pixelBytes = std::int64_t{record.width} * record.height * 4;
    if (version >= kFirstCompressedVersion) pixelBytes = reader.RawInt32();
    return !reader.Errors().IsSet() && pixelBytes >= 0 && pixelBytes <= stream.Remaining() &&
           stream.Skip(pixelBytes);
}

}  // namespace

DensityTable DensityTable::Read(PackageStream& stream, std::int64_t offset) {
    LoadError errors;
    TaggedReader reader(stream, errors);
    DensityTable table;
    const auto fail = [](DensityDamage damage) {
        DensityTable damaged;
        damaged.damage_ = damage;
        return damaged;
    };
    const std::int32_t menuCount = stream.Seek(offset) ? reader.ReadInteger() : -1;
    if (errors.IsSet() || menuCount < 0 || menuCount > kPackageSlots) {
        return fail(DensityDamage::MenuCount);
    }
    for (std::int32_t m = 0; m < menuCount; ++m) {
        DensityMenu& menu = table.menus_.emplace_back();
        menu.entryName = reader.ReadString();
        menu.version = reader.ReadInteger();
        if (errors.IsSet() || menu.version < 6 || menu.version > kFirstCompressedVersion) {
            return fail(DensityDamage::MenuEntry);
        }
        const std::int32_t count = reader.ReadInteger();
        if (errors.IsSet() || count < 0 || count > kMaxDensityPictures) {
            return fail(DensityDamage::PictureCount);
        }
        for (std::int32_t i = 0; i < count; ++i) {
            DensityRecord& record = menu.records.emplace_back();
            record.percent = reader.ReadInteger();
            if (errors.IsSet() || !IsDensityPercent(record.percent)) {
                return fail(DensityDamage::Scale);
            }
            if (!ReadRecord(reader, menu.version, record)) return fail(DensityDamage::Record);
            if (i > 0 && !Before(menu.records[menu.records.size() - 2], record)) {
                return fail(DensityDamage::Order);
            }
        }
    }
    return table;
}

const DensityMenu* DensityTable::Of(std::string_view entryName) const {
    for (const DensityMenu& menu : menus_) {
        if (menu.entryName == entryName) return &menu;
    }
    return nullptr;
}

std::vector<std::int64_t> ChooseDensityRecords(std::span<const DensityRecord> records, int dpi) {
    std::vector<std::int64_t> chosen;
    if (dpi <= 96) return chosen;
    // The 1.5x records, then the 2x ones, each run by slot. The preferred scale's record
    // of a slot is taken; the other's where the preferred run lacks the slot, which one
    // walk through that run tells.
    const int preferred = dpi * 100 <= 150 * 96 ? 150 : 200;
    std::size_t split = 0;
    while (split < records.size() && records[split].percent == 150) ++split;
    const std::span<const DensityRecord> run =
        preferred == 150 ? records.first(split) : records.subspan(split);
    std::size_t next = 0;  // in run
    for (const DensityRecord& record : records) {
        if (record.percent != preferred) {
            while (next < run.size() && SlotKey(run[next]) < SlotKey(record)) ++next;
            if (next < run.size() && SlotKey(run[next]) == SlotKey(record)) continue;
        }
        chosen.push_back(record.position);
    }
    return chosen;
}

}  // namespace ambrevo
