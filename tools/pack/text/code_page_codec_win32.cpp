#include <windows.h>

#include <climits>

#include "pack/common/pack_error.h"
#include "pack/text/code_page_codec.h"
#include "support/utf8.h"

namespace ambrevo::pack {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");

struct CodePageCodec::State {
    UINT codePage = 0;
};

CodePageCodec::CodePageCodec(std::uint32_t codePage) : state_(std::make_unique<State>()) {
    if (!IsValidCodePage(codePage)) {
        throw PackError("this Windows cannot convert code page " + std::to_string(codePage));
    }
    state_->codePage = codePage;
}

CodePageCodec::~CodePageCodec() = default;

std::optional<std::string> CodePageCodec::Encode(std::string_view utf8) {
    if (utf8.empty()) return std::string();
    const std::u16string utf16 = Utf8ToUtf16(utf8);
    if (utf16.size() > INT_MAX) return std::nullopt;
    const auto* wide = reinterpret_cast<const wchar_t*>(utf16.data());
    const int length = static_cast<int>(utf16.size());
    // No best fit ("ü" as "u"), and a character without a place is the default character,
    // which the flag reports: refused rather than written as "?".
    constexpr DWORD kFlags = WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(state_->codePage, kFlags, wide, length, nullptr, 0,
                                         nullptr, &usedDefault);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    usedDefault = FALSE;
    if (WideCharToMultiByte(state_->codePage, kFlags, wide, length, bytes.data(), size, nullptr,
                            &usedDefault) != size ||
        usedDefault) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> CodePageCodec::Decode(std::string_view bytes) {
    if (bytes.empty()) return std::string();
    if (bytes.size() > INT_MAX) return std::nullopt;
    const int length = static_cast<int>(bytes.size());
    // Bytes that are no character of the code page fail rather than becoming U+FFFD.
    const int size = MultiByteToWideChar(state_->codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                         length, nullptr, 0);
    if (size <= 0) return std::nullopt;
    std::u16string wide(static_cast<std::size_t>(size), u'\0');
    if (MultiByteToWideChar(state_->codePage, MB_ERR_INVALID_CHARS, bytes.data(), length,
                            reinterpret_cast<wchar_t*>(wide.data()), size) != size) {
        return std::nullopt;
    }
    return Utf16ToUtf8(wide);
}

}  // namespace ambrevo::pack
