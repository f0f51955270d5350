#pragma once

#include <filesystem>
#include <vector>

namespace ambrevo::pack {

// The menu files a package file lists in "menus", joined to its folder as the package
// reader joins them, whether they exist or not; none when the file is missing, is not
// TOML or lists no menus.
std::vector<std::filesystem::path> ListedMenuFiles(const std::filesystem::path& package);

}  // namespace ambrevo::pack
