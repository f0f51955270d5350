#include "pack/pictures/png_codec.h"

#include <limits>
#include <string>

#include "pack/common/pack_error.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 16384  // larger PNGs are refused before decoding
#include <stb/stb_image.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace ambrevo::pack {
namespace {

static_assert(STBI_MAX_DIMENSIONS == kMaxPngSide);

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

PngPicture DecodePng(std::span<const std::uint8_t> fileBytes) {
    if (fileBytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw PackError("the file is too large");
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    std::unique_ptr<stbi_uc, StbFree> rgba(stbi_load_from_memory(
        fileBytes.data(), static_cast<int>(fileBytes.size()), &width, &height, &channels, 4));
    if (rgba == nullptr) {
        // The decoder may fail without saying why; the message still names a reason.
        const char* reason = stbi_failure_reason();
        throw PackError(std::string("not a readable PNG (") +
                        (reason && *reason ? reason : "the decoder gave no reason") + ")");
    }
    if (width > kMaxPngSide || height > kMaxPngSide) {
        throw PackError("larger than " + std::to_string(kMaxPngSide) + " x " +
                        std::to_string(kMaxPngSide) + " pixels");
    }

    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = width;
    bitmap->height = height;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    bitmap->pixels.resize(count);
    PngPicture picture;
    picture.alpha.resize(count);
    const stbi_uc* pixel = rgba.get();
    for (std::size_t i = 0; i < count; ++i, pixel += 4) {
        bitmap->pixels[i] = (std::uint32_t{pixel[0]} << 16) | (std::uint32_t{pixel[1]} << 8) |
                            std::uint32_t{pixel[2]};
        picture.alpha[i] = pixel[3];
    }
    picture.bitmap = std::move(bitmap);
    return picture;
}

std::vector<std::uint8_t> EncodePng(const Bitmap& picture, std::span<const std::uint8_t> alpha) {
    if (picture.Empty() ||
        picture.pixels.size() !=
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) ||
        (!alpha.empty() && alpha.size() != picture.pixels.size())) {
        throw PackError("an empty or damaged picture cannot be saved as PNG");
    }
    const int channels = alpha.empty() ? 3 : 4;
    std::vector<std::uint8_t> samples;
    samples.reserve(picture.pixels.size() * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const std::uint32_t pixel = picture.pixels[i];
        samples.push_back(static_cast<std::uint8_t>(pixel >> 16));
        samples.push_back(static_cast<std::uint8_t>(pixel >> 8));
        samples.push_back(static_cast<std::uint8_t>(pixel));
        if (!alpha.empty()) samples.push_back(alpha[i]);
    }
    std::vector<std::uint8_t> png;
    if (stbi_write_png_to_func(AppendBytes, &png, picture.width, picture.height, channels,
                               samples.data(), picture.width * channels) == 0) {
        throw PackError("could not encode a PNG picture");
    }
    return png;
}

}  // namespace ambrevo::pack
