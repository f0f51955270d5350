#include "pack/pictures/density_backdrops.h"

#include "pack/pictures/smooth_scaling.h"

namespace ambrevo::pack {

std::size_t DensityBackdrops::IndexOf(const DensityScale& scale) {
    return static_cast<std::size_t>(&scale - kDensityScales.data());
}

void DensityBackdrops::SetBackgroundVariant(const DensityScale& scale,
                                            std::shared_ptr<const Bitmap> variant) {
    scaled_[IndexOf(scale)] = PictureBackdrop{std::move(variant), base_.color};
}

const PictureBackdrop& DensityBackdrops::At(const DensityScale& scale) {
    std::optional<PictureBackdrop>& scaled = scaled_[IndexOf(scale)];
    if (!scaled) {
        scaled = PictureBackdrop{nullptr, base_.color};
        if (const Bitmap* background = base_.background.get()) {
            scaled->background = std::make_shared<const Bitmap>(
                ScaleSmoothly(*background, VariantSide(background->width, scale),
                              VariantSide(background->height, scale)));
        }
    }
    return *scaled;
}

}  // namespace ambrevo::pack
