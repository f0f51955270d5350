#include "menu/picture_pixels.h"

#include <bit>
#include <new>

#include "support/app_error.h"

namespace ambrevo {

std::shared_ptr<Bitmap> NewBitmap(std::int32_t width, std::int32_t height) {
    auto bitmap = std::make_shared<Bitmap>();
    if (width <= 0 || height <= 0) return bitmap;
    try {
        bitmap->pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    } catch (const std::bad_alloc&) {
        throw AppError("Out of memory");
    }
    bitmap->width = width;
    bitmap->height = height;
    return bitmap;
}

void PixelsFromLittleEndian(Bitmap& bitmap) {
    if constexpr (std::endian::native == std::endian::big) {
        for (auto& p : bitmap.pixels) {
            p = (p >> 24) | ((p >> 8) & 0x0000FF00u) | ((p << 8) & 0x00FF0000u) | (p << 24);
        }
    }
}

}  // namespace ambrevo
