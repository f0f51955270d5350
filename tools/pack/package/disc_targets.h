#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "pack/common/diagnostics.h"
#include "pack/source/package_source.h"

namespace ambrevo::pack {

// Where on the disc an item's target lies, as the player resolves it with the program on
// the disc's root: "%" is the program's folder and a leading "\" the drive's root, both
// the disc folder; a relative target is taken from the working folder, the program's own.
struct DiscTarget {
    std::string path;  // relative to the disc folder, with forward slashes; "/" ends a folder
    // A bare file name ("notepad.exe"), which Windows also looks for in its own folders.
    bool alsoSearchedElsewhere = false;
};
// Nothing for a web or mail target, a menu, "*", a "$" command or a path on another drive.
std::optional<DiscTarget> DiscTargetOf(std::string_view target);

// A warning, at the item, for each target that names the disc but finds neither a file nor
// a folder among the disc folder's published files (ListDiscFiles), letter case ignored
// as Windows does for ASCII letters.
void WarnAboutMissingDiscTargets(const PackageSource& package, const std::filesystem::path& disc,
                                 Diagnostics& diagnostics);

}  // namespace ambrevo::pack
