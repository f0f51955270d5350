#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "menu/menu_model.h"
#include "pack/pictures/density_variants.h"
#include "pack/pictures/png_codec.h"
#include "pack/pictures/preview_text.h"

namespace ambrevo::pack {

// The room kept clear between a button's caption and its left and right edges.
constexpr int kButtonPadding = 16;

// How one state of a button the tool draws looks. Colours are 0x00RRGGBB.
struct ButtonLook {
    std::uint32_t fillTop = 0;            // the fill runs from fillTop in the first row
    std::uint32_t fillBottom = 0;         // to fillBottom in the last
    int radius = 0;                       // of the corners, in pixels
    std::optional<std::uint32_t> border;  // borderWidth wide, inside the shape
    std::uint32_t text = 0;
    int points = 12;  // caption size, in points at 96 dots per inch
    bool bold = false;
    std::int32_t alignment = 0;  // TextAlignment
    Point offset{0, 0};          // the caption moved by this many pixels
    // What the tool sets and scales for a denser screen, not the author.
    int padding = kButtonPadding;  // room kept clear left and right of the caption
    int borderWidth = 1;           // of the border, when there is one
};

// The look drawn for a screen of that density, the button then being drawn at its size at
// that scale (VariantSide): its corners, border, padding, caption size and offset scaled.
ButtonLook LookAtDensity(const ButtonLook& look, const DensityScale& scale);

// Where the caption of a width x height button is set: between the look's paddings, centred in
// the height, moved by the look's offset.
TextBox CaptionBox(const ButtonLook& look, int width, int height);

// A width x height button: a rounded rectangle, anti-aliased on a fixed 8 x 8 grid of
// samples per pixel, transparent outside its corners, with the caption (UTF-8, "&"
// underlines the access key) drawn over it. Integer arithmetic but for the caption's
// glyphs, so the same look gives the same pixels on every system.
PngPicture PaintButton(const ButtonLook& look, int width, int height, const std::string& caption,
                       const PreviewTextPainter& text);

}  // namespace ambrevo::pack
