#include <windows.h>

#include <algorithm>
#include <string>

#include "pack/common/file_io.h"
#include "pack/common/file_replace.h"

namespace ambrevo::pack {
namespace {

constexpr int kCreateTries = 8;  // fresh names that happen to exist already, in a row
// What a file written again keeps of its attributes; read-only files are refused.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

ReplaceFault SystemFault(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = length > 0 ? std::string(text, length) : "error " + std::to_string(error);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == '.' || reason.back() == ' ')) {
        reason.pop_back();
    }
    return ReplaceFault(reason);
}

HANDLE HandleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
const std::intptr_t kNoFile = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
constexpr std::size_t kChunk = std::size_t{1} << 30;  // one call's most

// Every read and write names its offset, so that none moves the file's own position.
OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

}  // namespace

std::optional<std::string> ReplaceRefusal(const std::filesystem::path& target) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
        return SystemFault(error).what();
    }
    // Symbolic links and junctions alike.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return "it is a link; the tool writes only plain files";
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "it is a folder";
    if (attributes & FILE_ATTRIBUTE_READONLY) return "the file is read-only";
    return std::nullopt;
}

TemporaryFile::TemporaryFile(const std::filesystem::path& target)
    : target_(target), handle_(kNoFile) {
    for (int tries = 0; handle_ == kNoFile; ++tries) {
        path_ = TemporaryNameFor(target);
        // CREATE_NEW fails on any existing name, a link's included, so nothing is reached
        // through one.
        handle_ = reinterpret_cast<std::intptr_t>(
            CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (handle_ != kNoFile) break;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS || tries + 1 == kCreateTries) throw SystemFault(error);
    }
}

TemporaryFile::~TemporaryFile() {
    if (handle_ != kNoFile) CloseHandle(HandleOf(handle_));
    if (!placed_) DeleteFileW(path_.c_str());
}

void TemporaryFile::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunk));
        DWORD written = 0;
        OVERLAPPED at = At(offset);
        if (!WriteFile(HandleOf(handle_), bytes.data(), chunk, &written, &at))
            throw SystemFault(GetLastError());
        if (written == 0) throw SystemFault(ERROR_WRITE_FAULT);
        bytes = bytes.subspan(written);
        offset += written;
    }
}

void TemporaryFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) {
    while (!into.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(into.size(), kChunk));
        DWORD read = 0;
        OVERLAPPED at = At(offset);
        if (!ReadFile(HandleOf(handle_), into.data(), chunk, &read, &at))
            throw SystemFault(GetLastError());
        if (read == 0) throw SystemFault(ERROR_HANDLE_EOF);
        into = into.subspan(read);
        offset += read;
    }
}

void TemporaryFile::Finish() {
    const HANDLE file = HandleOf(handle_);
    if (!FlushFileBuffers(file)) throw SystemFault(GetLastError());
    handle_ = kNoFile;
    if (!CloseHandle(file)) throw SystemFault(GetLastError());
    // Windows keeps no permissions but read-only, which is refused; the file's folder
    // gives the new file its access rights.
    const DWORD earlier = GetFileAttributesW(target_.c_str());
    if (earlier != INVALID_FILE_ATTRIBUTES && (earlier & kKeptAttributes) != 0 &&
        !SetFileAttributesW(path_.c_str(), earlier & kKeptAttributes)) {
        throw SystemFault(GetLastError());
    }
}

void TemporaryFile::PutInPlace(bool createOnly) {
    const DWORD replace = createOnly ? 0 : MOVEFILE_REPLACE_EXISTING;
    if (!MoveFileExW(path_.c_str(), target_.c_str(), replace | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        if (createOnly && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) {
            throw ReplaceFault("it exists already");
        }
        throw SystemFault(error);
    }
    placed_ = true;
}

}  // namespace ambrevo::pack
