#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

namespace ambrevo::pack {

// The platform's part of writing a file safely (file_replace_posix.cpp or
// file_replace_win32.cpp); WriteFileBytes puts the steps together.

// A step that failed, with the reason alone; WriteFileBytes names the file.
class ReplaceFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Why the file at `target` must not be replaced: it is a link, a folder, no plain file or
// read-only. None when it is a plain writable file or there is none.
std::optional<std::string> ReplaceRefusal(const std::filesystem::path& target);

// A new file of a fresh, unguessable name in the target's folder, created exclusively and
// never through a link. Removed again unless it took the target's place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes the bytes at the offset, which lies within what was written or at its end;
    // until Finish.
    void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Reads back bytes written before, until Finish; reading past them is a fault.
    void ReadAt(std::uint64_t offset, std::span<std::uint8_t> into);
    // Flushes the bytes to the disk, gives the file the permissions of the target (or
    // those of a new file when there is none yet) and closes it.
    void Finish();
    // Renames the file over the target, or, with createOnly, to the target's name only
    // while no file has it; then flushes the folder where the system allows.
    void PutInPlace(bool createOnly);

private:
    std::filesystem::path target_;
    std::filesystem::path path_;
    std::intptr_t handle_;  // the platform's open file, until Finish closes it
    bool placed_ = false;
};

// The temporary's name for `target`: ".<name>.part-<16 hexadecimal digits>".
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target);

}  // namespace ambrevo::pack
