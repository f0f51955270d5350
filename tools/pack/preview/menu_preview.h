#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "menu/menu_model.h"
#include "pack/pictures/density_variants.h"
#include "pack/pictures/preview_text.h"
#include "pack/writer/density_entry.h"
#include "support/menu_code_pages.h"
#include "graphics/bitmap.h"

namespace ambrevo::pack {

// A menu drawn as the player shows it when it opens: its pixels and, per pixel, 255
// inside the window's shape and 0 outside it.
struct MenuPreview {
    Bitmap picture;
    std::vector<std::uint8_t> alpha;
};

// The density a preview is drawn at: every place, size and font scaled (edges to the
// nearest pixel, halves up), each picture taken from those drawn for that density where
// there is one, else its 1x picture scaled smoothly. scale null: as the menu is, 1x.
struct PreviewDensity {
    const DensityScale* scale = nullptr;
    std::span<const DensityPicture> pictures;
};

// Draws the menu's window: the background picture cut to the window shape, the
// description picture and texts of the highlighted item (or the default description),
// then the items in order, each text item's caption, each picture item's normal picture
// (its highlighted one when it is the highlighted item) and each push button as a plain
// button above the rest. highlight is an item number; 0 or a number beyond the items
// highlights none. Without a text painter no text is drawn; texts are read in codePage,
// the code page declared for the menu (kSystemCodePage: Windows-1252). Throws PackError
// when the menu has no background picture, or one wider or higher than kMaxPngSide at the
// density.
MenuPreview RenderMenuPreview(const MenuDefinition& menu, int highlight,
                              const PreviewTextPainter* text,
                              std::uint32_t codePage = kSystemCodePage,
                              const PreviewDensity& density = {});

}  // namespace ambrevo::pack
