#include "pack/pictures/picture_composer.h"

#include <algorithm>

namespace ambrevo::pack {
namespace {

constexpr std::uint32_t kOpaque = 255;

std::uint32_t Channel(std::uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }

// Rounds to the nearest value, so that alpha 255 gives the picture and 0 the backdrop.
std::uint32_t Blend(std::uint32_t over, std::uint32_t under, std::uint32_t alpha) {
    std::uint32_t result = 0;
    for (int shift : {16, 8, 0}) {
        const std::uint32_t mixed =
            (Channel(over, shift) * alpha + Channel(under, shift) * (kOpaque - alpha) + 127) /
            kOpaque;
        result |= mixed << shift;
    }
    return result;
}

}  // namespace

ComposedPicture ComposeOverBackdrop(const PngPicture& picture, Point at,
                                    const PictureBackdrop& backdrop) {
    const Bitmap& source = *picture.bitmap;
    const bool opaque = std::all_of(picture.alpha.begin(), picture.alpha.end(),
                                    [](std::uint8_t alpha) { return alpha == kOpaque; });
    if (opaque || picture.alpha.size() != source.pixels.size()) return {picture.bitmap, false};

    const Bitmap* background = backdrop.background.get();
    auto composed = std::make_shared<Bitmap>(source);
    bool uncovered = false;
    for (int row = 0; row < source.height; ++row) {
        for (int column = 0; column < source.width; ++column) {
            const std::size_t index = static_cast<std::size_t>(row) * source.width + column;
            const std::uint32_t alpha = picture.alpha[index];
            if (alpha == kOpaque) continue;
            // 64-bit, so that positions near the 32-bit limits cannot overflow.
            const std::int64_t x = std::int64_t{at.left} + column;
            const std::int64_t y = std::int64_t{at.top} + row;
            std::uint32_t under = backdrop.color;
            if (background != nullptr && x >= 0 && y >= 0 && x < background->width &&
                y < background->height) {
                under = background->pixels[static_cast<std::size_t>(y * background->width + x)];
            } else {
                uncovered = true;
            }
            composed->pixels[index] = Blend(source.pixels[index], under, alpha);
        }
    }
    return {std::move(composed), uncovered};
}

}  // namespace ambrevo::pack
