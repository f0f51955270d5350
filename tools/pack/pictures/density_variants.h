#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/bitmap.h"
#include "pack/common/diagnostics.h"
#include "pack/pictures/picture_cache.h"

namespace ambrevo::pack {

// A density that an author may draw a picture for, beside it: "name@2x.png" for "name.png".
struct DensityScale {
    std::string_view suffix;  // put before the picture's extension
    int numerator;            // the scale as a fraction of the picture's size
    int denominator;
    std::string_view inWords;  // "twice"
};

inline constexpr std::array<DensityScale, 2> kDensityScales{
    {{"@1.5x", 3, 2, "1.5 times"}, {"@2x", 2, 1, "twice"}}};

// The file of the picture's variant at that scale.
std::filesystem::path VariantPath(const std::filesystem::path& picture, const DensityScale& scale);

// A variant's width or height for that side of its picture: scaled, halves rounded up.
int VariantSide(int side, const DensityScale& scale);

// The scale in percent, as packages store it: 150, 200.
int ScalePercent(const DensityScale& scale);
// The density of that percent, or null.
const DensityScale* DensityOfPercent(int percent);

// A variant of a picture drawn for a density, at exactly the picture's size at its scale.
struct PictureVariant {
    const DensityScale* scale;
    std::shared_ptr<const PngPicture> picture;
};

// The picture's variants that fit, in kDensityScales order. Warns, at the line that names
// the picture (`name`, as the source spells it), of each of its variants that cannot be
// used or is not the picture's size at its scale: those are left out.
std::vector<PictureVariant> FittingVariants(const SourceFile& where, std::int64_t line,
                                            std::string_view name,
                                            const std::filesystem::path& picture,
                                            const Bitmap& bitmap, PictureCache& cache);

}  // namespace ambrevo::pack
