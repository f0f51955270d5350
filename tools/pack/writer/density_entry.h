#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "graphics/bitmap.h"
#include "package/density_table.h"
#include "pack/writer/package_writer.h"
#include "pack/writer/picture_stream_cache.h"

namespace ambrevo::pack {

// The entry that holds pictures drawn for high-density screens (package/density_table.h).

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
