#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ambrevo::pack {

// What the disc folder publishes: its regular files and those of its subfolders that the
// name rule (CheckPublishedName) lets through and no link places outside the folder or
// under a name the rule keeps back, as relative paths with forward slashes, sorted; and a
// warning line for each file or folder left out by name. Linked folders are not entered.
struct DiscListing {
    std::vector<std::string> files;
    std::vector<std::string> warnings;
};
// No disc folder publishes nothing.
DiscListing ListDiscFiles(const std::optional<std::filesystem::path>& disc);

// What a relative path asked for inside the disc folder comes to.
enum class DiscLookup { kFound, kMissing, kRefused };
struct DiscFile {
    DiscLookup lookup = DiscLookup::kMissing;
    std::filesystem::path file;  // when found
};
// Refuses a path that is empty or absolute, has an empty part or a part the name rule
// does not publish, or leads through a link out of the folder or to such a part.
DiscFile FindDiscFile(const std::optional<std::filesystem::path>& disc, std::string_view relative);

// {"files": [...]} for the browser player.
std::string FilesJson(const std::vector<std::string>& files);

}  // namespace ambrevo::pack
