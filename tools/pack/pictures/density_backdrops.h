#pragma once

#include <array>
#include <memory>
#include <optional>

#include "pack/pictures/density_variants.h"
#include "pack/pictures/picture_composer.h"

namespace ambrevo::pack {

// What shows through an item picture's variant at each density: the background's own
// variant when the author drew one, else the background scaled smoothly to that density's
// size; the plain colour is the same at every density. Each is made the first time it is
// asked for, so that a menu without variants scales nothing.
class DensityBackdrops {
public:
    explicit DensityBackdrops(const PictureBackdrop& backdrop) : base_(backdrop) {}

    const PictureBackdrop& Base() const { return base_; }
    // The background's variant at its scale, given before At is first asked for that scale.
    void SetBackgroundVariant(const DensityScale& scale, std::shared_ptr<const Bitmap> variant);
    // Null when the background scaled to that density would be wider or higher than a
    // picture may be (kMaxPngSide).
    const PictureBackdrop* At(const DensityScale& scale);

private:
    static std::size_t IndexOf(const DensityScale& scale);

    const PictureBackdrop& base_;
    std::array<std::optional<PictureBackdrop>, kDensityScales.size()> scaled_;
};

}  // namespace ambrevo::pack
