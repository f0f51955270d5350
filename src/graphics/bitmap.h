#pragma once

#include <cstdint>

#include "graphics/pixels.h"

namespace ambrevo {

// A decoded picture: 32-bit 0x00RRGGBB pixels, row by row from the top.
struct Bitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    Pixels pixels;  // width * height values

    bool Empty() const { return width <= 0 || height <= 0; }
    std::uint32_t At(std::int32_t x, std::int32_t y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

}  // namespace ambrevo
