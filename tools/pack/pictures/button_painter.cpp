#include "pack/pictures/button_painter.h"

#include <algorithm>

namespace ambrevo::pack {
namespace {

constexpr int kGrid = 8;  // samples per pixel along each axis
constexpr int kSamples = kGrid * kGrid;
constexpr std::int64_t kScale = 2 * kGrid;  // sample centres fall on odd multiples

std::uint32_t ChannelOf(std::uint32_t rgb, int shift) { return (rgb >> shift) & 0xFF; }

// A rectangle with rounded corners, in sample units.
struct RoundedBox {
    std::int64_t left, top, right, bottom, radius;

    static RoundedBox Inset(int width, int height, int radius, int inset) {
        const std::int64_t r = std::max(0, radius - inset);
        return {kScale * inset, kScale * inset, kScale * (width - inset), kScale * (height - inset),
                kScale * r};
    }

    bool Contains(std::int64_t x, std::int64_t y) const {
        if (x < left || x > right || y < top || y > bottom) return false;
        const std::int64_t cx = std::clamp(x, left + radius, right - radius);
        const std::int64_t cy = std::clamp(y, top + radius, bottom - radius);
        const std::int64_t dx = x - cx;
        const std::int64_t dy = y - cy;
        return dx * dx + dy * dy <= radius * radius;
    }

    // How many of the pixel's samples lie inside, 0..kSamples. Only pixels that reach into
    // a corner are sampled one by one; the others are inside or outside a straight edge.
    int Coverage(int column, int row) const {
        const std::int64_t x = kScale * column;
        const std::int64_t y = kScale * row;
        const bool betweenCorners = x >= left + radius && x + kScale <= right - radius;
        const bool betweenCornerRows = y >= top + radius && y + kScale <= bottom - radius;
        if (betweenCorners || betweenCornerRows) {
            const bool inX = x >= left && x + kScale <= right;
            const bool inY = y >= top && y + kScale <= bottom;
            return inX && inY ? kSamples : 0;
        }
        int inside = 0;
        for (int j = 0; j < kGrid; ++j) {
            const std::int64_t y = kScale * row + 2 * j + 1;
            for (int i = 0; i < kGrid; ++i) {
                if (Contains(kScale * column + 2 * i + 1, y)) ++inside;
            }
        }
        return inside;
    }
};

// The fill of one row: fillTop in the first, fillBottom in the last, evenly between.
std::uint32_t FillOfRow(const ButtonLook& look, int row, int height) {
    if (height <= 1) return look.fillTop;
    const std::uint32_t span = static_cast<std::uint32_t>(height - 1);
    const auto at = static_cast<std::uint32_t>(row);
    std::uint32_t rgb = 0;
    for (int shift : {16, 8, 0}) {
        const std::uint32_t mixed = (ChannelOf(look.fillTop, shift) * (span - at) +
                                     ChannelOf(look.fillBottom, shift) * at + span / 2) /
                                    span;
        rgb |= mixed << shift;
    }
    return rgb;
}

// `over` with weight a and `under` with weight b, of a + b.
std::uint32_t Mix(std::uint32_t over, std::uint32_t a, std::uint32_t under, std::uint32_t b) {
    const std::uint32_t total = a + b;
    if (total == 0) return 0;
    std::uint32_t rgb = 0;
    for (int shift : {16, 8, 0}) {
        rgb |= ((ChannelOf(over, shift) * a + ChannelOf(under, shift) * b + total / 2) / total)
               << shift;
    }
    return rgb;
}

void PaintShape(const ButtonLook& look, Bitmap& picture, std::vector<std::uint8_t>& alpha) {
    const int width = picture.width;
    const int height = picture.height;
    const int radius = std::clamp(look.radius, 0, std::min(width, height) / 2);
    const RoundedBox outer = RoundedBox::Inset(width, height, radius, 0);
    const RoundedBox inner =
        RoundedBox::Inset(width, height, radius, look.border ? look.borderWidth : 0);
    for (int row = 0; row < height; ++row) {
        const std::uint32_t fill = FillOfRow(look, row, height);
        for (int column = 0; column < width; ++column) {
            const int covered = outer.Coverage(column, row);
            const int filled = look.border ? inner.Coverage(column, row) : covered;
            const std::size_t index = static_cast<std::size_t>(row) * width + column;
            picture.pixels[index] =
                look.border ? Mix(fill, static_cast<std::uint32_t>(filled), *look.border,
                                  static_cast<std::uint32_t>(covered - filled))
                            : fill;
            alpha[index] = static_cast<std::uint8_t>((covered * 255 + kSamples / 2) / kSamples);
        }
    }
}

// The caption in look.text over the shape: its coverage is drawn white on black, then
// laid over each pixel by the "over" rule, so it shows over clear corners too.
void PaintCaption(const ButtonLook& look, const std::string& caption,
                  const PreviewTextPainter& text, Bitmap& picture,
                  std::vector<std::uint8_t>& alpha) {
    Bitmap coverage{picture.width, picture.height, Pixels(picture.pixels.size(), 0)};
    TextBox box = CaptionBox(look, picture.width, picture.height);
    text.Draw(coverage, caption, box, 0xFFFFFF);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const std::uint32_t ink = coverage.pixels[i] & 0xFF;
        if (ink == 0) continue;
        const std::uint32_t under = std::uint32_t{alpha[i]} * (255 - ink);
        picture.pixels[i] = Mix(look.text, ink * 255, picture.pixels[i], under);
        alpha[i] = static_cast<std::uint8_t>((ink * 255 + under + 127) / 255);
    }
}

}  // namespace

ButtonLook LookAtDensity(const ButtonLook& look, const DensityScale& scale) {
    // Offsets may be negative: scaled as their size, the sign kept.
    const auto scaled = [&](int length) {
        return length < 0 ? -VariantSide(-length, scale) : VariantSide(length, scale);
    };
    ButtonLook dense = look;
    dense.radius = scaled(look.radius);
    dense.points = scaled(look.points);
    dense.offset = {scaled(look.offset.left), scaled(look.offset.top)};
    dense.padding = scaled(look.padding);
    dense.borderWidth = scaled(look.borderWidth);
    return dense;
}

TextBox CaptionBox(const ButtonLook& look, int width, int height) {
    TextBox box;
    box.left = std::int64_t{look.padding} + look.offset.left;
    box.top = look.offset.top;
    box.width = std::max<std::int64_t>(0, std::int64_t{width} - 2 * std::int64_t{look.padding});
    box.height = height;
    box.alignment = look.alignment;
    box.centreVertically = true;
    box.points = look.points;
    box.bold = look.bold;
    box.underlineMnemonic = true;
    return box;
}

PngPicture PaintButton(const ButtonLook& look, int width, int height, const std::string& caption,
                       const PreviewTextPainter& text) {
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    auto picture = std::make_shared<Bitmap>(Bitmap{width, height, Pixels(count, 0)});
    std::vector<std::uint8_t> alpha(count, 0);
    PaintShape(look, *picture, alpha);
    PaintCaption(look, caption, text, *picture, alpha);
    return {std::move(picture), std::move(alpha)};
}

}  // namespace ambrevo::pack
