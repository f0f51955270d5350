#include "window/text_style.h"

namespace ambrevo {

std::optional<ui::Alignment> AlignmentOf(std::int32_t value) {
    switch (static_cast<TextAlignment>(value)) {
        case TextAlignment::LeftJustify:
            return ui::Alignment::Left;
        case TextAlignment::RightJustify:
            return ui::Alignment::Right;
        case TextAlignment::Center:
            return ui::Alignment::Center;
    }
    return std::nullopt;
}

void ApplyStyle(ui::Font& font, const FontStyle& style) {
    font.bold = style.bold;
    font.italic = style.italic;
    font.underline = style.underline;
}

void ApplyMenuFont(ui::Font& font, const FontSpec& menuFont) {
    font.face = menuFont.name;
    font.size = menuFont.size;
    ApplyStyle(font, menuFont.style);
}

}  // namespace ambrevo
