#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "package/package_stream.h"

namespace ambrevo {

// Pictures drawn for screens denser than 96 DPI travel in an entry of their own, which
// players that do not know it never look up:
//   entry "density.dat": ReadInteger menu count, then per menu ReadString (its entry name,
//   lower case), ReadInteger (its format version: 6 raw pixels, 7 zlib streams),
//   ReadInteger picture count, then per picture ReadInteger (the scale in percent: 150 or
//   200) and a picture record laid out as the menu's own, whose record, set and frame name
//   the 1x picture it stands for. A menu's pictures come by scale, then record, set and
//   frame, each slot once per scale.
inline constexpr char kDensityEntryName[] = "density.dat";
inline constexpr int kMaxDensityPictures = 32767;  // as many as a menu may hold

// Why an entry cannot be read; the player then shows the 1x pictures.
enum class DensityDamage { None, MenuCount, MenuEntry, PictureCount, Scale, Record, Order };

// A picture record of the entry, found without decoding it.
struct DensityRecord {
    int percent = 0;
    int record = 0;  // the slot of the 1x picture, as stored
    int set = 0;
    int frame = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int64_t position = 0;  // of the record (its tag) in the stream
};

struct DensityMenu {
    std::string entryName;
    int version = 0;
    std::vector<DensityRecord> records;
};

class DensityTable {
public:
    // Reads the entry at offset: each record's place, scale, slot and size, skipping its
    // pixels. Any damage (a count or version out of range, a scale other than 150 or 200,
    // a record cut short or not a picture of some size, pictures out of order) gives an
    // empty table that says what was damaged.
    static DensityTable Read(PackageStream& stream, std::int64_t offset);

    const std::vector<DensityMenu>& Menus() const { return menus_; }
    DensityDamage Damage() const { return damage_; }
    // The menu's pictures (lower-case entry name), or null.
    const DensityMenu* Of(std::string_view entryName) const;

private:
    std::vector<DensityMenu> menus_;
    DensityDamage damage_ = DensityDamage::None;
};

// The places of the records to show on a screen of dpi pixels per inch: per slot, the
// record of the least scale at or above dpi / 96, else of the greatest scale. None at 96
// DPI or less. records are those of a menu that may be shown, in the entry's order; the
// places come in that order.
std::vector<std::int64_t> ChooseDensityRecords(std::span<const DensityRecord> records, int dpi);

}  // namespace ambrevo
