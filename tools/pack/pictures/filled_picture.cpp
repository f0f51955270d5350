#include "pack/pictures/filled_picture.h"

#include <algorithm>

namespace ambrevo::pack {

std::optional<std::uint32_t> RgbOfHexText(std::string_view text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    std::uint32_t colour = 0;
    for (const char c : text.substr(1)) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) return std::nullopt;
        colour = colour * 16 + static_cast<std::uint32_t>(digit);
    }
    return colour;
}

namespace {

// The channel at `shift` of a colour `step` steps of `steps` from `from` towards `to`,
// rounded to the nearest value.
std::uint32_t MixedChannel(std::uint32_t from, std::uint32_t to, int shift, std::int64_t step,
                           std::int64_t steps) {
    const std::int64_t a = (from >> shift) & 0xFF;
    const std::int64_t b = (to >> shift) & 0xFF;
    const std::int64_t mixed = a + ((b - a) * step * 2 + (b >= a ? steps : -steps)) / (2 * steps);
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(mixed, 0, 255)) << shift;
}

}  // namespace

Bitmap FilledPicture(std::int32_t width, std::int32_t height, std::uint32_t top,
                     std::uint32_t bottom) {
    Bitmap picture;
    picture.width = width;
    picture.height = height;
    const auto rowLength = static_cast<std::size_t>(width);
    picture.pixels = Pixels(rowLength * static_cast<std::size_t>(height));
    const std::int64_t steps = std::max(height - 1, 1);
    for (std::int32_t row = 0; row < height; ++row) {
        const std::uint32_t colour = MixedChannel(top, bottom, 16, row, steps) |
                                     MixedChannel(top, bottom, 8, row, steps) |
                                     MixedChannel(top, bottom, 0, row, steps);
        std::uint32_t* const first = picture.pixels.data() + rowLength * row;
        std::fill(first, first + rowLength, colour);
    }
    return picture;
}

}  // namespace ambrevo::pack
