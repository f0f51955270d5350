#include "backends/win32/system/wide_text.h"

#include "support/utf8.h"

namespace ambrevo::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");

std::wstring Widen(std::string_view utf8) {
    const std::u16string utf16 = Utf8ToUtf16(utf8);
    return std::wstring(utf16.begin(), utf16.end());
}

std::string Narrow(std::wstring_view wide) {
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::string Narrow(const wchar_t* wide) {
    return wide == nullptr ? std::string() : Narrow(std::wstring_view(wide));
}

}  // namespace ambrevo::win32
