#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ambrevo {

// Windows-1252, the code page of menus made for Western European machines, both ways. Every
// byte value has its own character (the five bytes the code page leaves undefined map to
// U+0081, U+008D, U+008F, U+0090 and U+009D), so any byte string survives a round trip.

std::uint32_t Windows1252CodePoint(char byte);

// The byte of a character, when the code page has one.
std::optional<char> Windows1252Byte(std::uint32_t codePoint);

std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 text in Windows-1252: a character the code page lacks, or a byte that is no UTF-8,
// becomes "?", as Windows writes its default character.
std::string Utf8ToWindows1252(std::string_view utf8);

}  // namespace ambrevo
