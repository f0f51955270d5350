#include "backends/win32/system/system_error.h"

#include <iterator>

#include "backends/win32/system/wide_text.h"

namespace ambrevo::win32 {

std::string SystemErrorMessage(DWORD error) {
    wchar_t buffer[512];
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, buffer, std::size(buffer), nullptr);
    if (length == 0) return "System error " + std::to_string(error);
    while (length > 0 && (buffer[length - 1] <= L' ' || buffer[length - 1] == L'.')) --length;
    return Narrow(std::wstring_view(buffer, length));
}

}  // namespace ambrevo::win32
