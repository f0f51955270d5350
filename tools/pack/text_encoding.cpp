#include "text_encoding.h"

#include <array>
#include <cstdio>

namespace ambrevo::pack {
namespace {

// Characters of the bytes 0x80..0x9F; the rest of the byte values are their own code point.
constexpr std::array<std::uint16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<char> ByteOf(std::uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<char>(codePoint);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

// Decodes the character at text[i], advancing i; kInvalidUtf8 for a malformed sequence.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int continuation = 0;
    std::uint32_t codePoint = 0;
    if ((lead & 0xE0) == 0xC0) {
        continuation = 1;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        continuation = 2;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        continuation = 3;
        codePoint = lead & 0x07;
    } else {
        return kInvalidUtf8;
    }
    for (int n = 0; n < continuation; ++n) {
        if (i >= text.size()) return kInvalidUtf8;
        const auto next = static_cast<unsigned char>(text[i++]);
        if ((next & 0xC0) != 0x80) return kInvalidUtf8;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    return codePoint;
}

}  // namespace

std::uint32_t AnsiCodePoint(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    if (value >= 0x80 && value < 0xA0) return kHighControls[value - 0x80];
    return value;
}

// Every character of Windows-1252 lies below U+10000, so three bytes are enough.
void AppendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::string CodePointName(std::uint32_t codePoint) {
    if (codePoint == kInvalidUtf8) return "a byte that is not UTF-8";
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(codePoint));
    return std::string("the character ") + buffer;
}

AnsiConversion Utf8ToAnsi(std::string_view utf8) {
    AnsiConversion result;
    result.text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::uint32_t codePoint = NextCodePoint(utf8, i);
        const std::optional<char> byte =
            codePoint == kInvalidUtf8 ? std::nullopt : ByteOf(codePoint);
        if (!byte) {
            result.unconvertible = codePoint;
            return result;
        }
        result.text += *byte;
    }
    return result;
}

std::string AnsiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (char c : ansi) AppendUtf8(out, AnsiCodePoint(c));
    return out;
}

}  // namespace ambrevo::pack
