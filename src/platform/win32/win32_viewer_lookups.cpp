#include "platform/win32/win32_viewer_lookups.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <cstdint>
#include <cstring>

#include "platform/win32/unique_handle.h"

namespace ambrevo::win32 {
namespace {

// The size of every lookup buffer.
constexpr std::size_t kLookupBuffer = MAX_PATH;

// A buffer's text up to its first NUL, never beyond the buffer.
std::string TextOf(const char (&buffer)[kLookupBuffer]) {
    return std::string(buffer, strnlen(buffer, kLookupBuffer));
}

}  // namespace

std::string Win32ViewerLookups::ExecutableFor(const std::string& document,
                                              const std::string& folder) {
    char program[kLookupBuffer] = {};
    const HINSTANCE result = FindExecutableA(document.c_str(), folder.c_str(), program);
    // 32 or less is an error code: no program.
    if (reinterpret_cast<std::intptr_t>(result) <= 32) return {};
    return TextOf(program);
}

std::string Win32ViewerLookups::WindowsFolder() {
    char folder[kLookupBuffer] = {};
    // 0 is a failure; a length beyond the buffer means nothing was written.
    const UINT length = GetWindowsDirectoryA(folder, kLookupBuffer);
    if (length == 0 || length >= kLookupBuffer) return {};
    return TextOf(folder);
}

bool Win32ViewerLookups::CreateNewFile(const std::string& path, std::string_view bytes) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    const bool complete =
        WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    if (complete) return true;
    // A file that does not hold what was asked is removed, so nothing of it is left behind.
    file.Reset();
    DeleteFileA(path.c_str());
    return false;
}

bool Win32ViewerLookups::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()); }

}  // namespace ambrevo::win32
