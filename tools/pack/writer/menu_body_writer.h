#pragma once

#include <cstdint>
#include <vector>

#include "menu/menu_model.h"
#include "pack/writer/picture_stream_cache.h"
#include "pack/writer/tagged_writer.h"
#include "graphics/bitmap.h"

namespace ambrevo::pack {

constexpr int kRawPicturesVersion = 6;     // pictures as raw pixels, no v7-only fields
constexpr int kLatestMenuVersion = 7;      // zlib pictures, expiry notice, item fonts, viewer check
constexpr int kMaxPictureRecords = 32767;  // the picture count is a signed 16-bit number
constexpr std::int32_t kNoShapeIndex = 0;
constexpr std::int32_t kLastShapeColorIndex = 15;
// Stored for a shape switched on with black (0x000000): index 0 would switch it off, and
// every index above 15 gives black.
constexpr std::int32_t kBlackShapeIndex = 16;

// The colour index stored in the menu for the model's shapeColor: -1 gives 0 (no shape),
// a colour of the index table gives its index 1..15, black gives kBlackShapeIndex.
// Throws PackError for any other value, which no menu can hold.
std::int32_t ShapeColorIndex(std::int32_t shapeColor);

// The number of pictures that WriteMenuBody stores: the table's slots with a picture.
int CountStoredPictures(const PictureTable& table);

// Appends one picture record: version 6 stores raw pixels, version 7 a zlib stream written
// at the highest level, taken from `streams` when given and it holds the same pixels. The
// fourth byte of every pixel is written as 0.
void WritePictureRecord(TaggedWriter& out, int version, int record, int set, int frame,
                        const Bitmap& picture, PictureStreamCache* streams = nullptr);

// The whole menu body of `menu` in format version 6 or 7: header, window-level fields,
// items, then every picture of the table in record, set, frame order. The header's
// item and picture counts come from the model. Throws PackError when the menu cannot be
// stored (more than 100 items or 32767 pictures, an unknown version, a picture too big).
std::vector<std::uint8_t> WriteMenuBody(const MenuDefinition& menu, int version,
                                        PictureStreamCache* streams = nullptr);

}  // namespace ambrevo::pack
