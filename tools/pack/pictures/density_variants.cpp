#include "pack/pictures/density_variants.h"

#include <system_error>
#include <variant>

#include "pack/common/file_io.h"

namespace ambrevo::pack {
namespace {

std::string SizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

std::filesystem::path VariantPath(const std::filesystem::path& picture, const DensityScale& scale) {
    std::filesystem::path variant = picture;
    variant.replace_filename(picture.stem().native() +
                             std::filesystem::path(scale.suffix).native() +
                             picture.extension().native());
    return variant;
}

int VariantSide(int side, const DensityScale& scale) {
    return static_cast<int>(
        (static_cast<std::int64_t>(side) * scale.numerator + scale.denominator / 2) /
        scale.denominator);
}

int ScalePercent(const DensityScale& scale) { return 100 * scale.numerator / scale.denominator; }

const DensityScale* DensityOfPercent(int percent) {
    for (const DensityScale& scale : kDensityScales) {
        if (ScalePercent(scale) == percent) return &scale;
    }
    return nullptr;
}

std::vector<PictureVariant> FittingVariants(const SourceFile& where, std::int64_t line,
                                            std::string_view name,
                                            const std::filesystem::path& picture,
                                            const Bitmap& bitmap, PictureCache& cache) {
    std::vector<PictureVariant> fitting;
    for (const DensityScale& scale : kDensityScales) {
        // Only variants that exist go through the cache, which watches every file it is
        // asked for.
        const std::filesystem::path path = VariantPath(picture, scale);
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error)) continue;
        const PictureCache::Result result = cache.Load(path);
        const std::string variant =
            "\"" + PathToUtf8(VariantPath(PathFromUtf8(name), scale)) + "\"";
        if (const auto* reason = std::get_if<std::string>(&result)) {
            where.Warn(line, "picture " + variant + " " + *reason);
            continue;
        }
        const auto& variantPicture = std::get<std::shared_ptr<const PngPicture>>(result);
        const Bitmap& drawn = *variantPicture->bitmap;
        const int width = VariantSide(bitmap.width, scale);
        const int height = VariantSide(bitmap.height, scale);
        if (drawn.width == width && drawn.height == height) {
            fitting.push_back({&scale, variantPicture});
            continue;
        }
        where.Warn(line, "picture " + variant + " is " + SizeText(drawn.width, drawn.height) +
                             ", but " + std::string(scale.inWords) + " \"" + std::string(name) +
                             "\" (" + SizeText(bitmap.width, bitmap.height) + ") is " +
                             SizeText(width, height));
    }
    return fitting;
}

}  // namespace ambrevo::pack
