#include "platform/win32/program_path.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/win32/system_error.h"
#include "support/app_error.h"

namespace ambrevo::win32 {

std::string ProgramPath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            const DWORD error = ::GetLastError();
            throw AppError("Cannot find the program file. " + SystemErrorMessage(error));
        }
        // A full buffer means the path was cut short: try again with more room.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void RequireUsableProgramPath(const std::string& path) {
    // MAX_PATH counts the terminating NUL.
    if (path.size() < MAX_PATH) return;
    throw AppError("The path of the program is too long (" + std::to_string(path.size()) +
                   " characters, at most " + std::to_string(MAX_PATH - 1) + "): " + path);
}

std::string FirstArgument() { return __argc > 1 && __argv[1] != nullptr ? __argv[1] : ""; }

}  // namespace ambrevo::win32
