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

const PictureBackdrop* DensityBackdrops::At(const DensityScale& scale) {
    std::optional<PictureBackdrop>& scaled = scaled_[IndexOf(scale)];
    if (!scaled) {
        const Bitmap* background = base_.background.get();
        if (background == nullptr) {
            scaled = PictureBackdrop{nullptr, base_.color};
        } else {
            const int width = VariantSide(background->width, scale);
            const int height = VariantSide(background->height, scale);
            if (width > kMaxPngSide || height > kMaxPngSide) return nullptr;
            scaled = PictureBackdrop{
                std::make_shared<const Bitmap>(ScaleSmoothly(*background, width, height)),
                base_.color};
        }
    }
    return &*scaled;
}

}  // namespace ambrevo::pack
