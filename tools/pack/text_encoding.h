#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ambrevo::pack {

// Menu texts are 8-bit Windows-1252; sources and listings are UTF-8. Every byte value has
// its own character (the five bytes that Windows-1252 leaves undefined map to U+0081,
// U+008D, U+008F, U+0090 and U+009D), so a text survives a round trip unchanged.

// The 8-bit text, or the first character it cannot hold (or 0xFFFFFFFF for text that is
// not valid UTF-8).
struct AnsiConversion {
    std::string text;
    std::optional<std::uint32_t> unconvertible;
};
AnsiConversion Utf8ToAnsi(std::string_view utf8);

std::string AnsiToUtf8(std::string_view ansi);

// The character of one 8-bit byte.
std::uint32_t AnsiCodePoint(char byte);

void AppendUtf8(std::string& out, std::uint32_t codePoint);

constexpr std::uint32_t kInvalidUtf8 = 0xFFFFFFFF;

// "the character U+00E9", or "a byte that is not UTF-8" for kInvalidUtf8: for messages.
std::string CodePointName(std::uint32_t codePoint);

}  // namespace ambrevo::pack
