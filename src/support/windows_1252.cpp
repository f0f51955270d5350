#include "support/windows_1252.h"

#include <array>

#include "support/utf8.h"

namespace ambrevo {
namespace {

// Characters of the bytes 0x80..0x9F; the other byte values are their own code point.
constexpr std::array<std::uint16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::uint32_t Windows1252CodePoint(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    if (value >= 0x80 && value < 0xA0) return kHighControls[value - 0x80];
    return value;
}

std::optional<char> Windows1252Byte(std::uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<char>(codePoint);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) AppendUtf8(out, Windows1252CodePoint(c));
    return out;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::uint32_t codePoint = NextCodePoint(utf8, i);
        const std::optional<char> byte =
            codePoint == kInvalidUtf8 ? std::nullopt : Windows1252Byte(codePoint);
        out += byte.value_or('?');
    }
    return out;
}

}  // namespace ambrevo
