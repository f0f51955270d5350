#include "ui/font.h"

#include "support/utf8.h"

namespace ambrevo::ui {

std::uint32_t UpperCaseLetter(std::uint32_t c) {
    const bool asciiLower = c >= 'a' && c <= 'z';
    const bool latin1Lower = c >= 0xE0 && c <= 0xFE && c != 0xF7;
    const bool greekLower = c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2;
    const bool cyrillicLower = c >= 0x430 && c <= 0x44F;
    if (asciiLower || latin1Lower || greekLower || cyrillicLower) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;  // ѐ..џ
    return c;
}

std::uint32_t MnemonicOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') {
            std::size_t next = i + 1;
            const std::uint32_t letter = NextCodePoint(caption, next);
            return letter == kInvalidUtf8 ? 0 : UpperCaseLetter(letter);
        }
        ++i;  // "&&" is a literal "&"
    }
    return 0;
}

}  // namespace ambrevo::ui
