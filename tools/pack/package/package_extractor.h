#pragma once

#include <filesystem>
#include <ostream>

#include "pack/package/built_package.h"

namespace ambrevo::pack {

// Writes a built package back as sources: folder/package.toml, one TOML file per menu and
// its pictures as PNG files in a folder named like the menu. Building package.toml with the
// same player gives the same bytes. Pictures that no source key can hold are reported to
// warnings. Throws PackError, before anything is written, when a menu cannot be read or
// the folder exists and is not empty.
void ExtractPackage(const BuiltPackage& package, const std::filesystem::path& folder,
                    std::ostream& warnings);

}  // namespace ambrevo::pack
