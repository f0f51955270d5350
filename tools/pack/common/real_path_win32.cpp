// Links on Windows: std::filesystem of MinGW sees neither junctions nor symbolic links, so
// the system itself is asked where a path leads and whether an entry is a link.

#include <windows.h>

#include <string>

#include "backends/win32/system/unique_handle.h"
#include "pack/common/real_path.h"

namespace ambrevo::pack {
namespace {

// GetFinalPathNameByHandleW answers "\\?\C:\..." or "\\?\UNC\server\share\...": the
// paths the rest of the tool compares begin "C:\" or "\\server\share".
std::wstring WithoutVerbatimPrefix(std::wstring path) {
    const std::wstring verbatim = L"\\\\?\\";
    const std::wstring share = verbatim + L"UNC\\";
    if (path.starts_with(share)) return L"\\\\" + path.substr(share.size());
    if (path.starts_with(verbatim)) return path.substr(verbatim.size());
    return path;
}

}  // namespace

std::optional<std::filesystem::path> RealPath(const std::filesystem::path& path) {
    // Backup semantics open folders as well; no access right is needed to ask for the name.
    const win32::UniqueFile file(
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return std::nullopt;
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(file.Get(), name.data(), static_cast<DWORD>(name.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return std::nullopt;
        // A length below the buffer's is the name's; otherwise the size it needs, with its
        // terminating null.
        const bool fits = length < name.size();
        name.resize(length);
        if (fits) break;
    }
    return std::filesystem::path(WithoutVerbatimPrefix(std::move(name)));
}

bool IsLink(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return false;
    }
    // The reparse tag tells a link (a junction, a symbolic link) from a file that only
    // stores its data elsewhere (a cloud placeholder, a deduplicated file). A tag that
    // cannot be read, or the reserved tag 0 (Wine gives it for a Unix link), counts as a
    // link: the entry is then left alone rather than followed.
    WIN32_FIND_DATAW found;
    const win32::UniqueFind find(FindFirstFileW(path.c_str(), &found));
    return !find || found.dwReserved0 == 0 || IsReparseTagNameSurrogate(found.dwReserved0);
}

bool SameEntryName(const std::filesystem::path& a, const std::filesystem::path& b) {
    const std::wstring& first = a.native();
    const std::wstring& second = b.native();
    return CompareStringOrdinal(first.c_str(), static_cast<int>(first.size()), second.c_str(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace ambrevo::pack
