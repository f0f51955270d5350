#include "backends/win32/services/win32_text_decoder.h"

#include <windows.h>

#include <climits>

#include "backends/win32/system/wide_text.h"
#include "support/menu_code_pages.h"

namespace ambrevo::win32 {

std::string Win32TextDecoder::ToUtf8(std::string_view bytes, std::uint32_t codePage) {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const UINT page = codePage != kSystemCodePage && IsValidCodePage(codePage) ? codePage : CP_ACP;
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(page, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(page, 0, bytes.data(), size, wide.data(), length);
    return Narrow(wide);
}

}  // namespace ambrevo::win32
