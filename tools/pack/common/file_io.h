#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ambrevo::pack {

// Paths are UTF-8 in sources, on the command line and in messages.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);
// The path in double quotes, as messages name files.
std::string QuotedPath(const std::filesystem::path& path);

// The whole file. Throws PackError "cannot read \"<path>\": <reason>".
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

// Writes the whole file through a temporary file beside it, so that a failure leaves any
// earlier file of that name as it was; a file written again keeps its permissions. Throws PackError "cannot write \"<path>\": <reason>".
void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
void WriteTextFile(const std::filesystem::path& path, std::string_view text);

// What a look at a file sees: whether it exists, its size and modification time.
struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time{};

    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::filesystem::path& file);

}  // namespace ambrevo::pack
