#pragma once

#include <cstdint>
#include <memory>

#include "menu/menu_model.h"
#include "pack/pictures/png_codec.h"
#include "graphics/bitmap.h"

namespace ambrevo::pack {

// What shows through the transparent pixels of an item picture: the menu's background
// picture, and beyond it (or when there is none) the window's plain colour.
struct PictureBackdrop {
    std::shared_ptr<const Bitmap> background;  // may be null
    std::uint32_t color = 0;                   // 0x00RRGGBB
};

// The colour the window shows where no background covers it, unless the source names
// another: the button face of current Windows.
constexpr std::uint32_t kDefaultBackdropColor = 0xF0F0F0;

struct ComposedPicture {
    std::shared_ptr<const Bitmap> bitmap;
    // Some pixel that is not fully opaque lies where the background does not reach, so it
    // took the plain colour.
    bool uncovered = false;
};

// The picture as the player must store it: a fully opaque picture unchanged (the same
// bitmap), else each pixel blended by its alpha over the backdrop pixel it will cover
// when drawn with its top-left corner at `at` in the window.
ComposedPicture ComposeOverBackdrop(const PngPicture& picture, Point at,
                                    const PictureBackdrop& backdrop);

}  // namespace ambrevo::pack
