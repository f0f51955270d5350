#pragma once

#include <string>

#include "ui/color.h"

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

// The character after the first single "&" of a caption ("&&" stands for a literal
// "&"), upper-cased for A-Z; 0 when the caption has none.
char MnemonicOf(const std::string& caption);

}  // namespace ambrevo::ui
