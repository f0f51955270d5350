#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "graphics/bitmap.h"
#include "pack/writer/package_writer.h"
#include "pack/writer/picture_stream_cache.h"

namespace ambrevo::pack {

// The entry that holds pictures drawn for high-density screens, which players that do not
// know it never look up:
//   ReadInteger menu count, then per menu ReadString (its entry name, lower case),
//   ReadInteger (its format version: the pictures' layout), ReadInteger picture count,
//   then per picture ReadInteger (the scale in percent: 150, 200) and a picture record
//   laid out as the menu's own, whose record, set and frame name the 1x picture it stands
//   for.
inline constexpr char kDensityEntryName[] = "density.dat";

// A picture of a menu's slot at a density, as stored: composed as its 1x picture is.
struct DensityPicture {
    int percent = 0;
    int record = 0;
    int set = 0;
    int frame = 0;
    std::shared_ptr<const Bitmap> bitmap;

    // Stored by scale, then in the menu's record, set, frame order.
    auto Key() const { return std::tie(percent, record, set, frame); }
};

struct MenuDensityPictures {
    std::string entryName;  // as the directory holds it, lower case
    int version = 0;        // of the menu: 6 stores raw pixels, 7 zlib streams
    std::vector<DensityPicture> pictures;
};

// The entry for the menus' pictures, in the order given, leaving out menus without any;
// nullopt when none has one: such a package is what it was before. Throws PackError for a
// picture that cannot be stored.
std::optional<PackageEntryData> DensityEntry(std::span<const MenuDensityPictures> menus,
                                             PictureStreamCache* streams = nullptr);

}  // namespace ambrevo::pack
