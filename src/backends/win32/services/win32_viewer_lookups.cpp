#include "backends/win32/services/win32_viewer_lookups.h"

#include <cstdint>
#include <cwchar>

#include "backends/win32/system/com_apartment.h"
#include "backends/win32/system/system_libraries.h"
#include "backends/win32/system/unique_handle.h"
#include "backends/win32/system/wide_text.h"

namespace ambrevo::win32 {
namespace {

// The size of every lookup buffer.
constexpr std::size_t kLookupBuffer = MAX_PATH;

// A buffer's text up to its first NUL, never beyond the buffer.
std::string TextOf(const wchar_t (&buffer)[kLookupBuffer]) {
    return Narrow(std::wstring_view(buffer, wcsnlen(buffer, kLookupBuffer)));
}

}  // namespace

std::string Win32ViewerLookups::ExecutableFor(const std::string& document,
                                              const std::string& folder) {
    const ShellFunctions& shell = ShellLibrary();
    ComApartment::Enter();
    wchar_t program[kLookupBuffer] = {};
    const HINSTANCE result =
        shell.findExecutable(Widen(document).c_str(), Widen(folder).c_str(), program);
    // 32 or less is an error code: no program.
    if (reinterpret_cast<std::intptr_t>(result) <= 32) return {};
    return TextOf(program);
}

std::string Win32ViewerLookups::WindowsFolder() {
    wchar_t folder[kLookupBuffer] = {};
    // 0 is a failure; a length beyond the buffer means nothing was written.
    const UINT length = GetWindowsDirectoryW(folder, kLookupBuffer);
    if (length == 0 || length >= kLookupBuffer) return {};
    return TextOf(folder);
}

std::string Win32ViewerLookups::TemporaryFolder() {
    wchar_t folder[kLookupBuffer] = {};
    const DWORD length = GetTempPathW(kLookupBuffer, folder);
    if (length == 0 || length >= kLookupBuffer) return {};
    std::string path = TextOf(folder);
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

bool Win32ViewerLookups::CreateNewFile(const std::string& path, std::string_view bytes) {
    const std::wstring file = Widen(path);
    UniqueFile handle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return false;
    DWORD written = 0;
    const bool complete = WriteFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                    &written, nullptr) &&
                          written == bytes.size();
    if (complete) return true;
    // A file that does not hold what was asked is removed, so nothing of it is left behind.
    handle.Reset();
    DeleteFileW(file.c_str());
    return false;
}

bool Win32ViewerLookups::RemoveFile(const std::string& path) {
    return DeleteFileW(Widen(path).c_str());
}

}  // namespace ambrevo::win32
