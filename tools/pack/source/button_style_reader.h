#pragma once

#include <string_view>
#include <vector>

#include "menu/menu_model.h"
#include "pack/pictures/button_painter.h"
#include "pack/pictures/density_backdrops.h"
#include "pack/pictures/picture_composer.h"
#include "pack/text/source_names.h"
#include "pack/source/source_table.h"
#include "pack/writer/density_entry.h"

namespace ambrevo::pack {

// The ready styles by name: "blue", "green", "red", "grey", "dark".
const NameTable& ReadyStyleNames();

// The font a style draws its caption with (the tool carries it), and the limits of the
// style's numbers: the caption moves at most into the padding, so that it stays inside.
inline constexpr std::string_view kCarriedFontName = "DejaVu Sans";
inline constexpr int kMaxStyleRadius = 1000;
inline constexpr int kMaxCaptionOffset = kButtonPadding;

// Reads the "style" of item `record` (1..), a picture item whose normal, highlighted and
// pressed pictures the tool draws from its caption: a ready style's name (`style =
// "blue"`) or a table of look keys with per-state tables. Stores the three pictures,
// composed over the backdrop at the item's place, and the same drawn for each denser
// screen into densities, composed over the backdrop at that density. Without "size" the item takes
// the caption's size plus padding; without "shortcut_key" and "name" it takes the caption's access
// key and text. An item without "style" is left alone. True when the item has a style, drawn or
// refused.
bool ReadButtonStyle(SourceTable& item, DensityBackdrops& backdrops, MenuDefinition& menu,
                     std::vector<DensityPicture>& densities, int record);

}  // namespace ambrevo::pack
