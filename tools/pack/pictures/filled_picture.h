#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "graphics/bitmap.h"

namespace ambrevo::pack {

// "#RRGGBB" as 0x00RRGGBB, the pictures' pixel colour; none for any other text.
std::optional<std::uint32_t> RgbOfHexText(std::string_view text);

// A picture filled from `top` at its first row to `bottom` at its last, each row one
// colour between them (0x00RRGGBB); a plain picture when both are the same. The sides
// must be positive.
Bitmap FilledPicture(std::int32_t width, std::int32_t height, std::uint32_t top,
                     std::uint32_t bottom);

}  // namespace ambrevo::pack
