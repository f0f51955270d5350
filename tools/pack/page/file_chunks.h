#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

namespace ambrevo::pack {

// A file read a piece at a time, so that a large file (a disc's video) is never held whole
// in memory, whether it is served or copied.
class FileChunks {
public:
    static constexpr std::size_t kChunkSize = 256 * 1024;

    // Throws PackError "cannot read \"<file>\": <reason>".
    explicit FileChunks(const std::filesystem::path& file);

    // The size when the file was opened.
    std::uintmax_t Size() const { return size_; }
    // The bytes from offset on, at most length and kChunkSize of them; empty at the end or
    // when the file can no longer be read. Valid until the next call.
    std::string_view Read(std::uintmax_t offset, std::size_t length);

private:
    std::ifstream stream_;
    std::uintmax_t size_ = 0;
    std::vector<char> buffer_;
};

// Copies from into a new file to, a piece at a time. Throws PackError when either fails or
// the file is shorter than when it was opened.
void CopyInChunks(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace ambrevo::pack
