#pragma once

#include <string>
#include <string_view>

namespace ambrevo {

// Texts are 8-bit ANSI; only the letters A-Z are ever case-folded.
constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string AsciiLower(std::string_view text);

// Compares two texts with A-Z folded to a-z; every other byte must match exactly.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace ambrevo
