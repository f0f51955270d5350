#include "pack/preview/menu_preview.h"

#include <algorithm>

#include "menu/shape_runs.h"
#include "pack/common/pack_error.h"
#include "pack/pictures/smooth_scaling.h"
#include "pack/text/text_encoding.h"

namespace ambrevo::pack {
namespace {

constexpr int kFirstVersionWithItemFonts = 7;
// Before version 7 items keep the window's font.
constexpr int kWindowFontPoints = 8;
constexpr std::uint32_t kButtonFace = 0xE1E1E1;
constexpr std::uint32_t kButtonBorder = 0xADADAD;
constexpr std::uint32_t kButtonText = 0x000000;

// Text colours are COLORREF values (0x00BBGGRR); system colour numbers (high byte set)
// are the dark text colours of Windows' default scheme.
std::uint32_t RgbOf(ColorRef color) {
    if ((color >> 24) != 0) return 0x000000;
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

// The part [begin, end) of the columns (or rows) first to first + length that lies within
// 0 to size; in 64 bits, so that positions near the 32-bit limits draw nothing.
struct Span {
    int begin, end;
};
Span Within(std::int64_t first, std::int64_t length, int size) {
    return {static_cast<int>(std::clamp<std::int64_t>(first, 0, size)),
            static_cast<int>(std::clamp<std::int64_t>(first + length, 0, size))};
}

void DrawPicture(Bitmap& canvas, const Bitmap* picture, std::int64_t left, std::int64_t top) {
    if (picture == nullptr || picture->Empty()) return;
    const Span columns = Within(left, picture->width, canvas.width);
    const Span rows = Within(top, picture->height, canvas.height);
    for (int y = rows.begin; y < rows.end; ++y) {
        for (int x = columns.begin; x < columns.end; ++x) {
            canvas.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.width) +
                          static_cast<std::size_t>(x)] =
                picture->At(static_cast<int>(x - left), static_cast<int>(y - top));
        }
    }
}

void FillRect(Bitmap& canvas, std::int64_t left, std::int64_t top, std::int64_t width,
              std::int64_t height, std::uint32_t rgb) {
    const Span columns = Within(left, width, canvas.width);
    const Span rows = Within(top, height, canvas.height);
    for (int y = rows.begin; y < rows.end; ++y) {
        for (int x = columns.begin; x < columns.end; ++x) {
            canvas.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.width) +
                          static_cast<std::size_t>(x)] = rgb;
        }
    }
}

// Places, sizes and pictures at the preview's density.
class Density {
public:
    Density(const MenuDefinition& menu, const PreviewDensity& density)
        : menu_(menu), density_(density) {}

    // An edge or a length at the density: the nearest pixel, halves up.
    std::int64_t Scaled(std::int64_t value) const {
        if (density_.scale == nullptr) return value;
        const std::int64_t twice =
            2 * value * density_.scale->numerator + density_.scale->denominator;
        const std::int64_t divisor = 2 * std::int64_t{density_.scale->denominator};
        return twice >= 0 ? twice / divisor : -((-twice + divisor - 1) / divisor);
    }

    // The picture of the slot at the density, or null where the menu has none.
    std::shared_ptr<const Bitmap> Picture(int record, int set, int frame) const {
        std::shared_ptr<const Bitmap> picture = menu_.pictures.Picture(record, set, frame);
        if (density_.scale == nullptr || picture == nullptr) return picture;
        const int percent = ScalePercent(*density_.scale);
        for (const DensityPicture& drawn : density_.pictures) {
            if (drawn.percent == percent && drawn.record == record && drawn.set == set &&
                drawn.frame == frame) {
                return drawn.bitmap;
            }
        }
        return std::make_shared<const Bitmap>(
            ScaleSmoothly(*picture, VariantSide(picture->width, *density_.scale),
                          VariantSide(picture->height, *density_.scale)));
    }

    TextBox BoxOf(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height,
                  const FontSpec& font) const {
        TextBox box{Scaled(left), Scaled(top), Scaled(width), Scaled(height)};
        box.points = static_cast<int>(Scaled(font.size));
        box.bold = font.style.bold;
        box.underline = font.style.underline;
        return box;
    }

    // The 1x shape's pixels spread over the picture at the density.
    std::vector<std::uint8_t> Spread(const std::vector<std::uint8_t>& alpha, int width, int height,
                                     const Bitmap& scaled) const {
        if (density_.scale == nullptr) return alpha;
        std::vector<std::uint8_t> spread(scaled.pixels.size());
        const int numerator = density_.scale->numerator;
        const int denominator = density_.scale->denominator;
        for (int y = 0; y < scaled.height; ++y) {
            const int from = std::min(y * denominator / numerator, height - 1);
            for (int x = 0; x < scaled.width; ++x) {
                spread[static_cast<std::size_t>(y) * scaled.width + x] =
                    alpha[static_cast<std::size_t>(from) * width +
                          std::min(x * denominator / numerator, width - 1)];
            }
        }
        return spread;
    }

private:
    const MenuDefinition& menu_;
    const PreviewDensity& density_;
};

// 255 inside the shape; the whole picture when the menu has no (usable) shape.
std::vector<std::uint8_t> ShapeAlpha(const MenuDefinition& menu, int width, int height) {
    const std::optional<ShapeRuns> shape =
        menu.shapeColor != -1 ? ParseShapeRuns(menu.windowShape) : std::nullopt;
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(width) * height, shape ? 0 : 255);
    if (!shape) return alpha;
    const auto at = [&](int x, int y) -> std::uint8_t& {
        return alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)];
    };
    for (int y = 0; y < std::min(shape->height, height); ++y) {
        for (int x = 0; x < std::min(shape->width, width); ++x) at(x, y) = 255;
    }
    for (const ShapeRun& run : shape->runs) {
        if (run.row < 0 || run.row >= height) continue;
        for (int x = std::max(run.x1, 0); x < std::min(run.x2, width); ++x) at(x, run.row) = 0;
    }
    return alpha;
}

class Painter {
public:
    Painter(const MenuDefinition& menu, int highlight, const PreviewTextPainter* text,
            std::uint32_t codePage, const Density& density, Bitmap& canvas)
        : menu_(menu),
          highlight_(highlight),
          text_(text),
          codePage_(codePage),
          density_(density),
          canvas_(canvas) {}

    void Description() {
        const MenuItem* item = Highlighted();
        constexpr int kDescription = static_cast<int>(PictureSet::Description);
        if (item != nullptr && menu_.pictures.HasPicture(highlight_, kDescription, 0)) {
            DrawPicture(canvas_, density_.Picture(highlight_, kDescription, 0).get(),
                        density_.Scaled(menu_.descriptionPicturePosition.left),
                        density_.Scaled(menu_.descriptionPicturePosition.top));
        }
        const std::string& text = item != nullptr && !item->description.empty()
                                      ? item->description
                                      : menu_.defaultDescription;
        const Bounds& b = menu_.descriptionBounds;
        TextBox box = density_.BoxOf(b.left, b.top, b.width, b.height, menu_.descriptionFont);
        box.alignment = menu_.descriptionAlignment;
        box.wordWrap = true;
        if (menu_.shadowOffset >= 1) {
            TextBox shadow = box;
            shadow.left += density_.Scaled(menu_.shadowOffset);
            shadow.top += density_.Scaled(menu_.shadowOffset);
            Text(text, shadow, menu_.shadowColor);
        }
        Text(text, box, menu_.descriptionColor);
    }

    void Items() {
        for (int n = 1; n <= static_cast<int>(menu_.items.size()); ++n) {
            const MenuItem& item = menu_.items[static_cast<std::size_t>(n - 1)];
            if (item.kind == static_cast<std::int32_t>(ItemKind::ImgBtn)) {
                DrawPicture(canvas_, ItemPicture(n).get(), density_.Scaled(item.left),
                            density_.Scaled(item.top));
            } else if (item.kind == static_cast<std::int32_t>(ItemKind::LblBtn)) {
                TextBox box =
                    density_.BoxOf(item.left, item.top, item.width, item.height, ItemFont(item));
                box.alignment = item.alignment;
                Text(item.caption, box, item.fontColor);
            }
        }
        // Push buttons are windows of their own, above everything drawn on the window.
        for (const MenuItem& item : menu_.items) {
            if (item.kind != static_cast<std::int32_t>(ItemKind::WinBtn)) continue;
            TextBox box =
                density_.BoxOf(item.left, item.top, item.width, item.height, ItemFont(item));
            const std::int64_t border = density_.Scaled(1);
            FillRect(canvas_, box.left, box.top, box.width, box.height, kButtonBorder);
            FillRect(canvas_, box.left + border, box.top + border, box.width - 2 * border,
                     box.height - 2 * border, kButtonFace);
            box.alignment = static_cast<std::int32_t>(TextAlignment::Center);
            box.centreVertically = true;
            if (text_ != nullptr) {
                text_->Draw(canvas_, DisplayText(item.caption, codePage_), box, kButtonText);
            }
        }
    }

private:
    const MenuItem* Highlighted() const {
        if (highlight_ < 1 || highlight_ > static_cast<int>(menu_.items.size())) return nullptr;
        return &menu_.items[static_cast<std::size_t>(highlight_ - 1)];
    }

    std::shared_ptr<const Bitmap> ItemPicture(int n) const {
        constexpr int kHighlighted = static_cast<int>(PictureSet::Highlighted);
        if (n == highlight_ && menu_.pictures.HasPicture(n, kHighlighted, 0)) {
            return density_.Picture(n, kHighlighted, 0);
        }
        return density_.Picture(n, static_cast<int>(PictureSet::Normal), 0);
    }

    FontSpec ItemFont(const MenuItem& item) const {
        if (menu_.header.version >= kFirstVersionWithItemFonts) return item.font;
        return FontSpec{"Tahoma", kWindowFontPoints, {}};
    }

    void Text(const std::string& text, const TextBox& box, ColorRef color) {
        if (text_ != nullptr && !text.empty()) {
            text_->Draw(canvas_, DisplayText(text, codePage_), box, RgbOf(color));
        }
    }

    const MenuDefinition& menu_;
    int highlight_;
    const PreviewTextPainter* text_;
    std::uint32_t codePage_;
    const Density& density_;
    Bitmap& canvas_;
};

}  // namespace

MenuPreview RenderMenuPreview(const MenuDefinition& menu, int highlight,
                              const PreviewTextPainter* text, std::uint32_t codePage,
                              const PreviewDensity& density) {
    const std::shared_ptr<const Bitmap> background =
        menu.pictures.Picture(0, static_cast<int>(PictureSet::Normal), 0);
    if (!background || background->Empty()) {
        throw PackError("the menu has no background picture, so its window has no size");
    }
    const Density scaling(menu, density);
    if (scaling.Scaled(background->width) > kMaxPngSide ||
        scaling.Scaled(background->height) > kMaxPngSide) {
        throw PackError("the window at that scale would be larger than " +
                        std::to_string(kMaxPngSide) + " pixels");
    }
    MenuPreview preview{*scaling.Picture(0, static_cast<int>(PictureSet::Normal), 0), {}};
    Painter painter(menu, highlight, text, codePage, scaling, preview.picture);
    painter.Description();
    painter.Items();
    preview.alpha = scaling.Spread(ShapeAlpha(menu, background->width, background->height),
                                   background->width, background->height, preview.picture);
    return preview;
}

}  // namespace ambrevo::pack
