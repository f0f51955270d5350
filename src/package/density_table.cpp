#include "package/density_table.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "package/load_error.h"
#include "package/package.h"
#include "package/tagged_reader.h"

namespace ambrevo {
namespace {

constexpr int kFirstCompressedVersion = 7;

bool IsDensityPercent(std::int32_t percent) { return percent == 150 || percent == 200; }

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

std::vector<const DensityRecord*> ChooseDensityRecords(
    std::span<const DensityRecord> records, int dpi,
    const std::function<bool(const DensityRecord&)>& usable) {
    std::vector<const DensityRecord*> chosen;
    if (dpi <= 96) return chosen;
    // A scale p (in percent) is at or above the screen's when p * 96 >= dpi * 100.
    const auto better = [dpi](const DensityRecord& candidate, const DensityRecord& held) {
        const bool candidateCovers = candidate.percent * 96 >= dpi * 100;
        const bool heldCovers = held.percent * 96 >= dpi * 100;
        if (candidateCovers != heldCovers) return candidateCovers;
        return candidateCovers ? candidate.percent < held.percent
                               : candidate.percent > held.percent;
    };
    std::map<std::tuple<int, int, int>, const DensityRecord*> bySlot;
    for (const DensityRecord& record : records) {
        if (!usable(record)) continue;
        const DensityRecord*& held = bySlot[{record.record, record.set, record.frame}];
        if (held == nullptr || better(record, *held)) held = &record;
    }
    for (const DensityRecord& record : records) {
        const auto found = bySlot.find({record.record, record.set, record.frame});
        if (found != bySlot.end() && found->second == &record) chosen.push_back(&record);
    }
    return chosen;
}

}  // namespace ambrevo
