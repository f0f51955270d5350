#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <vector>

#include "pack/writer/picture_stream_cache.h"
#include "pack/source/package_source.h"

namespace ambrevo::pack {

// The player bytes followed by the package of the source's menus, in package order.
// progress (when given) gets one line per menu: name, items, pictures, bytes.
// streams (when given) keeps the pictures' compressed streams for the next build.
// Throws PackError when a menu or the package cannot be written.
std::vector<std::uint8_t> BuildPackage(const PackageSource& source,
                                       std::span<const std::uint8_t> player, std::ostream* progress,
                                       PictureStreamCache* streams = nullptr);

}  // namespace ambrevo::pack
