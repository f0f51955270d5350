#include "backends/win32/system/program_path.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "backends/win32/system/system_error.h"
#include "backends/win32/system/wide_text.h"
#include "support/app_error.h"

namespace ambrevo::win32 {

std::string ProgramPath() {
    // The wide path names every folder; the ANSI one turns characters outside the
    // machine's code page into "?" and then names no file at all.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            const DWORD error = ::GetLastError();
            throw AppError("Cannot find the program file. " + SystemErrorMessage(error));
        }
        // A full buffer means the path was cut short: try again with more room.
        if (length < path.size()) {
            path.resize(length);
            return Narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

void RequireUsableProgramPath(const std::string& path) {
    // MAX_PATH counts the terminating NUL, in UTF-16 units.
    const std::size_t length = Widen(path).size();
    if (length < MAX_PATH) return;
    throw AppError("The path of the program is too long (" + std::to_string(length) +
                   " characters, at most " + std::to_string(MAX_PATH - 1) + "): " + path);
}

std::string FirstArgument() { return __argc > 1 && __argv[1] != nullptr ? __argv[1] : ""; }

}  // namespace ambrevo::win32
