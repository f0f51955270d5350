#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "menu/picture_reader.h"
#include "graphics/bitmap.h"

namespace ambrevo::pack {

// A decoded PNG: its colours as a menu picture and its alpha channel, which the window
// shape can be cut from.
struct PngPicture {
    std::shared_ptr<const Bitmap> bitmap;
    std::vector<std::uint8_t> alpha;  // one value per pixel, row by row; 255 = opaque
};

// The largest width and height accepted: the player rejects larger pictures.
constexpr int kMaxPngSide = kMaxPictureSide;

// Decodes PNG file bytes. Throws PackError with the decoder's reason when they are not a
// PNG it can read, or when the picture is larger than kMaxPngSide.
PngPicture DecodePng(std::span<const std::uint8_t> fileBytes);

// Encodes the picture as an 8-bit RGB PNG, or RGBA with alpha (one value per pixel, row
// by row); the same picture always gives the same bytes.
std::vector<std::uint8_t> EncodePng(const Bitmap& picture,
                                    std::span<const std::uint8_t> alpha = {});

}  // namespace ambrevo::pack
