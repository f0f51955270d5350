#include "pack/pictures/shape_runs.h"

#include <algorithm>
#include <cstdio>

#include "pack/common/pack_error.h"

namespace ambrevo::pack {
namespace {

constexpr std::uint8_t kOpaqueFrom = 128;

std::string FourDigits(int value) {
    char buffer[12];  // any int, sign included
    std::snprintf(buffer, sizeof buffer, "%04d", value);
    return buffer;
}

}  // namespace

PixelMask TransparentPixels(const PngPicture& picture) {
    PixelMask mask(picture.alpha.size());
    for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = picture.alpha[i] < kOpaqueFrom;
    return mask;
}

PixelMask PixelsOfColor(const Bitmap& picture, std::uint32_t rgb) {
    PixelMask mask(picture.pixels.size());
    for (std::size_t i = 0; i < mask.size(); ++i) {
        mask[i] = (picture.pixels[i] & 0x00FFFFFF) == rgb;
    }
    return mask;
}

std::string FormatShapeRuns(int width, int height, const PixelMask& cutOut) {
    if (width > kMaxShapeSide || height > kMaxShapeSide) {
        throw PackError("a shaped window can be at most " + std::to_string(kMaxShapeSide) + " x " +
                        std::to_string(kMaxShapeSide) + " pixels");
    }
    std::string text = FourDigits(width) + FourDigits(height);
    int markedRow = 1;
    for (int y = 0; y < height; ++y) {
        const std::size_t rowStart = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width;) {
            if (!cutOut[rowStart + static_cast<std::size_t>(x)]) {
                ++x;
                continue;
            }
            const int x1 = x;
            while (x < width && cutOut[rowStart + static_cast<std::size_t>(x)]) ++x;
            if (y + 1 != markedRow) {
                markedRow = y + 1;
                text += "Y" + FourDigits(markedRow);
            }
            text += FourDigits(x1) + FourDigits(x);
        }
    }
    return text;
}

PixelMask CutOutPixels(const ShapeRuns& shape) {
    PixelMask mask(static_cast<std::size_t>(shape.width) * static_cast<std::size_t>(shape.height));
    for (const ShapeRun& run : shape.runs) {
        if (run.row < 0 || run.row >= shape.height) continue;
        for (int x = std::max(run.x1, 0); x < std::min(run.x2, shape.width); ++x) {
            mask[static_cast<std::size_t>(run.row) * static_cast<std::size_t>(shape.width) +
                 static_cast<std::size_t>(x)] = true;
        }
    }
    return mask;
}

}  // namespace ambrevo::pack
