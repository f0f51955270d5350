#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "graphics/bitmap.h"

namespace ambrevo {

// A width x height picture whose pixels are unset, for a decoder to write every one; an
// empty picture stays 0 x 0. A picture too big for the process's memory throws
// AppError("Out of memory") instead of crashing.
std::shared_ptr<Bitmap> NewBitmap(std::int32_t width, std::int32_t height);

// The picture's pixels as the bytes a record stores them in.
inline unsigned char* PixelData(Bitmap& bitmap) {
    return reinterpret_cast<unsigned char*>(bitmap.pixels.data());
}
inline std::size_t PixelBytes(const Bitmap& bitmap) {
    return bitmap.pixels.size() * sizeof(std::uint32_t);
}

// Pixel values are stored little-endian; on a big-endian host this turns them round.
void PixelsFromLittleEndian(Bitmap& bitmap);

}  // namespace ambrevo
