#include "platform/win32/system_error.h"

namespace ambrevo::win32 {

std::string SystemErrorMessage(DWORD error) {
    char buffer[512];
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, buffer, sizeof buffer, nullptr);
    if (length == 0) return "System error " + std::to_string(error);
    while (length > 0 &&
           (static_cast<unsigned char>(buffer[length - 1]) <= ' ' || buffer[length - 1] == '.')) {
        --length;
    }
    return std::string(buffer, length);
}

}  // namespace ambrevo::win32
