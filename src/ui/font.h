#pragma once

#include <cstdint>
#include <string>

#include "graphics/color.h"

namespace ambrevo::ui {

enum class Alignment { Left, Right, Center };

struct Font {
    std::string face = "Tahoma";
    int size = 8;  // points, at 96 pixels per inch
    bool bold = false;
    bool italic = false;
    bool underline = false;
    ColorRef color = 0;
    bool operator==(const Font&) const = default;
};

// The letter a typed character is matched by: upper case for the Latin, Greek and
// Cyrillic letters that have one, any other character as it is.
std::uint32_t UpperCaseLetter(std::uint32_t character);

// The character after the first single "&" of a UTF-8 caption ("&&" stands for a literal
// "&"), as UpperCaseLetter gives it; 0 when the caption has none.
std::uint32_t MnemonicOf(const std::string& caption);

}  // namespace ambrevo::ui
