#pragma once

#include <cstdint>
#include <vector>

#include "package/tagged_reader.h"
#include "pack/writer/density_entry.h"

namespace ambrevo::pack {

// Reads the entry of pictures for high density (package/density_table.h) at offset, with
// the player's own reader of the entry, and decodes every picture. Throws PackError when it
// is damaged: a count out of range, a scale other than 150 or 200, a version other than 6
// or 7, a record cut short or out of the picture table, pictures out of order, a picture
// that cannot be decoded.
std::vector<MenuDensityPictures> ReadDensityTable(TaggedReader& reader, std::int64_t offset);

}  // namespace ambrevo::pack
