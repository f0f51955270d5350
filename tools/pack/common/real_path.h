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

// Whether two names of one folder's entries name the same entry as the system compares them:
// exactly on Linux; on Windows with case ignored, as Windows itself ignores it
// (CompareStringOrdinal).
bool SameEntryName(const std::filesystem::path& a, const std::filesystem::path& b);

// Where inner lies in outer, relative to it ("." for outer itself), comparing their parts
// with SameEntryName after resolving "." and ".." in the text; nothing when inner lies
// elsewhere. Give real paths (RealPath), so that links and short names count as the
// system resolves them.
std::optional<std::filesystem::path> PathInside(const std::filesystem::path& inner,
                                                const std::filesystem::path& outer);

}  // namespace ambrevo::pack
