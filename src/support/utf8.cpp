#include "support/utf8.h"

namespace ambrevo {

std::uint32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int continuation = 0;
    std::uint32_t codePoint = 0;
    std::uint32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        continuation = 1;
        codePoint = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        continuation = 2;
        codePoint = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        continuation = 3;
        codePoint = lead & 0x07;
        smallest = 0x10000;
    } else {
        return kInvalidUtf8;
    }
    for (int n = 0; n < continuation; ++n) {
        if (i >= text.size()) return kInvalidUtf8;
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return kInvalidUtf8;
        ++i;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < smallest || surrogate || codePoint > 0x10FFFF) return kInvalidUtf8;
    return codePoint;
}

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        std::uint32_t codePoint = NextCodePoint(utf8, i);
        if (codePoint == kInvalidUtf8) codePoint = 0xFFFD;
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (codePoint >> 10));
            out += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
        } else {
            out += static_cast<char16_t>(codePoint);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        std::uint32_t unit = utf16[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            unit = 0xFFFD;
        }
        AppendUtf8(out, unit);
    }
    return out;
}

}  // namespace ambrevo
