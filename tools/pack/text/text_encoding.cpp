#include "pack/text/text_encoding.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "pack/common/pack_error.h"
#include "pack/text/code_page_codec.h"
#include "support/menu_code_pages.h"
#include "support/windows_1252.h"

namespace ambrevo::pack {
namespace {

// The code pages of the platform's converter: Thai, Japanese, Simplified Chinese, Korean,
// Traditional Chinese, then Central European, Cyrillic, (Western: 1252, the shared table),
// Greek, Turkish, Hebrew, Arabic, Baltic and Vietnamese.
constexpr std::array<std::uint32_t, 13> kPlatformCodePages = {
    874, 932, 936, 949, 950, 1250, 1251, 1253, 1254, 1255, 1256, 1257, 1258};
// The longest character of those code pages, in bytes.
constexpr std::size_t kLongestCharacter = 2;

bool IsPlatformCodePage(std::uint32_t codePage) {
    return std::find(kPlatformCodePages.begin(), kPlatformCodePages.end(), codePage) !=
           kPlatformCodePages.end();
}

std::uint32_t WrittenCodePage(std::uint32_t codePage) {
    return codePage == kSystemCodePage ? kWindows1252 : codePage;
}

void CheckMenuCodePage(std::uint32_t codePage) {
    if (!IsMenuCodePage(codePage)) {
        throw PackError("code page " + std::to_string(codePage) + " is not one a menu can use");
    }
}

EncodedText EncodeWindows1252(std::string_view utf8) {
    EncodedText result;
    result.bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::uint32_t codePoint = NextCodePoint(utf8, i);
        const std::optional<char> byte =
            codePoint == kInvalidUtf8 ? std::nullopt : Windows1252Byte(codePoint);
        if (!byte) {
            result.unencodable = codePoint;
            return result;
        }
        result.bytes += *byte;
    }
    return result;
}

// The first invalid sequence of UTF-8 text, if any.
std::optional<std::size_t> FirstInvalidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        if (NextCodePoint(text, i) == kInvalidUtf8) return start;
    }
    return std::nullopt;
}

// Character by character, so that the first one without a place is named, and each is
// read back: a character that iconv or Windows writes as the bytes of another (CP932's
// yen sign as "\", say) is refused like one without bytes.
EncodedText EncodeWithPlatform(std::string_view utf8, std::uint32_t codePage) {
    EncodedText result;
    result.bytes.reserve(utf8.size());
    std::optional<CodePageCodec> codec;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const std::uint32_t codePoint = NextCodePoint(utf8, i);
        if (codePoint < 0x80) {
            result.bytes += static_cast<char>(codePoint);
            continue;
        }
        if (!codec) codec.emplace(codePage);
        const std::string_view character = utf8.substr(start, i - start);
        const std::optional<std::string> bytes =
            codePoint == kInvalidUtf8 ? std::nullopt : codec->Encode(character);
        if (!bytes || codec->Decode(*bytes) != character) {
            result.unencodable = codePoint;
            return result;
        }
        result.bytes += *bytes;
    }
    return result;
}

// Character by character: at each place the shortest run of bytes that reads as a
// character. Where none does, U+FFFD for one byte when replacing, else nullopt. Read
// apart, characters are not composed with the marks after them (as glibc's CP1258 does).
std::optional<std::string> DecodePiecewise(std::string_view bytes, CodePageCodec& codec,
                                           bool replace) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            out += bytes[i++];
            continue;
        }
        std::size_t taken = 0;
        for (std::size_t length = 1; length <= kLongestCharacter && i + length <= bytes.size();
             ++length) {
            if (const std::optional<std::string> text = codec.Decode(bytes.substr(i, length))) {
                out += *text;
                taken = length;
                break;
            }
        }
        if (taken == 0) {
            if (!replace) return std::nullopt;
            AppendUtf8(out, 0xFFFD);
            taken = 1;
        }
        i += taken;
    }
    return out;
}

std::string DisplayUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::uint32_t codePoint = NextCodePoint(bytes, i);
        AppendUtf8(out, codePoint == kInvalidUtf8 ? 0xFFFD : codePoint);
    }
    return out;
}

}  // namespace

bool IsMenuCodePage(std::uint32_t codePage) {
    return codePage == kSystemCodePage || codePage == kWindows1252 || codePage == kUtf8CodePage ||
           IsPlatformCodePage(codePage);
}

std::string MenuCodePageList() { return "874, 932, 936, 949, 950, 1250 to 1258 or 65001"; }

std::string CodePageName(std::uint32_t codePage) {
    switch (WrittenCodePage(codePage)) {
        case kWindows1252:
            return "Windows-1252";
        case kUtf8CodePage:
            return "UTF-8";
        default:
            return "code page " + std::to_string(codePage);
    }
}

EncodedText EncodeText(std::string_view utf8, std::uint32_t codePage) {
    CheckMenuCodePage(codePage);
    switch (WrittenCodePage(codePage)) {
        case kWindows1252:
            return EncodeWindows1252(utf8);
        case kUtf8CodePage: {
            EncodedText result;
            if (const std::optional<std::size_t> bad = FirstInvalidUtf8(utf8)) {
                result.bytes = utf8.substr(0, *bad);
                result.unencodable = kInvalidUtf8;
                return result;
            }
            result.bytes = utf8;
            return result;
        }
        default:
            return EncodeWithPlatform(utf8, codePage);
    }
}

std::optional<std::string> DecodeText(std::string_view bytes, std::uint32_t codePage) {
    CheckMenuCodePage(codePage);
    if (IsAscii(bytes)) return std::string(bytes);
    switch (WrittenCodePage(codePage)) {
        case kWindows1252:
            return Windows1252ToUtf8(bytes);
        case kUtf8CodePage:
            if (FirstInvalidUtf8(bytes)) return std::nullopt;
            return std::string(bytes);
        default:
            break;
    }
    CodePageCodec codec(codePage);
    for (const bool whole : {true, false}) {
        std::optional<std::string> text =
            whole ? codec.Decode(bytes) : DecodePiecewise(bytes, codec, false);
        if (!text) continue;
        const EncodedText back = EncodeText(*text, codePage);
        if (!back.unencodable && back.bytes == bytes) return text;
    }
    return std::nullopt;
}

std::string DisplayText(std::string_view bytes, std::uint32_t codePage) {
    if (IsAscii(bytes)) return std::string(bytes);
    const std::uint32_t written =
        IsMenuCodePage(codePage) ? WrittenCodePage(codePage) : kWindows1252;
    if (written == kWindows1252) return Windows1252ToUtf8(bytes);
    if (written == kUtf8CodePage) return DisplayUtf8(bytes);
    try {
        CodePageCodec codec(written);
        if (std::optional<std::string> text = codec.Decode(bytes)) return std::move(*text);
        return *DecodePiecewise(bytes, codec, true);
    } catch (const PackError&) {
        // A code page this system cannot convert.
        return Windows1252ToUtf8(bytes);
    }
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string CodePointName(std::uint32_t codePoint) {
    if (codePoint == kInvalidUtf8) return "a byte that is not UTF-8";
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(codePoint));
    return std::string("the character ") + buffer;
}

}  // namespace ambrevo::pack
