#pragma once

#include <cstdint>
#include <optional>

#include "menu/menu_model.h"
#include "ui/font.h"

namespace ambrevo {

// A menu's alignment value 0, 1 or 2 (left, right, centred); nothing for other values,
// which leave a control's alignment as it was.
std::optional<ui::Alignment> AlignmentOf(std::int32_t value);

// Bold, italic and underline of a menu font style.
void ApplyStyle(ui::Font& font, const FontStyle& style);

// Face, size in points and style of a menu font; the colour stays.
void ApplyMenuFont(ui::Font& font, const FontSpec& menuFont);

}  // namespace ambrevo
