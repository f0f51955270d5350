#pragma once

#include <filesystem>
#include <optional>

namespace ambrevo::pack {

// Where an existing file or folder lies on disk: absolute, with links (symbolic links, and
// junctions on Windows), short 8.3 names, "." and ".." resolved, so that what it is
// compared with is its real place and its long names. Nothing when it does not exist or
// cannot be opened.
std::optional<std::filesystem::path> RealPath(const std::filesystem::path& path);

// Whether the entry itself is a link to another place (a symbolic link, or on Windows a
// junction or another name surrogate), without following it.
bool IsLink(const std::filesystem::path& path);

}  // namespace ambrevo::pack
