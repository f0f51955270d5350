#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ambrevo::pack {

// The regular files of the disc folder and its subfolders as relative paths with forward
// slashes, sorted; files that a link places outside the folder are left out.
std::vector<std::string> ListDiscFiles(const std::filesystem::path& disc);

// What a relative path asked for inside the disc folder comes to.
enum class DiscLookup { kFound, kMissing, kRefused };
struct DiscFile {
    DiscLookup lookup = DiscLookup::kMissing;
    std::filesystem::path file;  // when found
};
// Refuses a path that is empty, absolute, holds "..", "." or empty parts, a backslash or
// a NUL, or leads through a link out of the folder.
DiscFile FindDiscFile(const std::filesystem::path& disc, std::string_view relative);

// {"files": [...]} for the browser player.
std::string FilesJson(const std::vector<std::string>& files);

}  // namespace ambrevo::pack
