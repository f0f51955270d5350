#include "backends/win32/services/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "backends/win32/system/system_error.h"
#include "backends/win32/system/unique_handle.h"
#include "backends/win32/system/wide_text.h"
#include "support/app_error.h"

namespace ambrevo::win32 {
namespace {

FileAttributes AttributesOf(DWORD attributes) {
    return {(attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
            (attributes & FILE_ATTRIBUTE_SYSTEM) != 0,
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
}

AppError FileError(const char* what, const std::string& path, DWORD error) {
    return AppError(std::string(what) + " \"" + path + "\". " + SystemErrorMessage(error));
}

class Win32File : public ReadOnlyFile {
public:
    Win32File(UniqueFile handle, std::string path, std::int64_t size)
        : handle_(std::move(handle)), path_(std::move(path)), size_(size) {}

    std::int64_t Size() const override { return size_; }

    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) override {
        if (offset < 0 || offset >= size_) return 0;
        auto* bytes = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < count) {
            const std::int64_t at = offset + static_cast<std::int64_t>(done);
            OVERLAPPED position{};
            position.Offset = static_cast<DWORD>(at);
            position.OffsetHigh = static_cast<DWORD>(at >> 32);
            const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
            DWORD got = 0;
            if (!::ReadFile(handle_.Get(), bytes + done, wanted, &got, &position)) {
                const DWORD error = ::GetLastError();
                if (error == ERROR_HANDLE_EOF) break;
                throw FileError("Cannot read file", path_, error);
            }
            if (got == 0) break;
            done += got;
        }
        return done;
    }

private:
    UniqueFile handle_;
    std::string path_;
    std::int64_t size_;
};

}  // namespace

std::unique_ptr<ReadOnlyFile> Win32FileSystem::OpenForReading(const std::string& path) {
    UniqueFile handle(::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) throw FileError("Cannot open file", path, ::GetLastError());
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle.Get(), &size)) {
        throw FileError("Cannot open file", path, ::GetLastError());
    }
    return std::make_unique<Win32File>(std::move(handle), path, size.QuadPart);
}

bool Win32FileSystem::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<FileAttributes> Win32FileSystem::Attributes(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return AttributesOf(attributes);
}

bool Win32FileSystem::ListFolder(const std::string& pattern,
                                 const std::function<bool(const FolderEntry&)>& visit) {
    WIN32_FIND_DATAW found{};
    const UniqueFind find(::FindFirstFileW(Widen(pattern).c_str(), &found));
    if (!find) return false;
    do {
        // cFileName is the system's own 260-character buffer, always terminated.
        if (!visit({Narrow(found.cFileName), AttributesOf(found.dwFileAttributes)})) break;
    } while (::FindNextFileW(find.Get(), &found));
    return true;
}

}  // namespace ambrevo::win32
