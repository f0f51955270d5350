#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "pack/writer/package_writer.h"

namespace ambrevo::pack {

// A menu of a package and the code page declared for its texts (kSystemCodePage: none).
struct MenuCodePage {
    std::string entryName;  // as the directory holds it, lower case
    std::uint32_t codePage = 0;
};

// The entry "codepages.dat" that declares the menus' code pages (support/menu_code_pages.h):
// the number of declaring menus (tag 2), then per declaring menu in the order given its
// entry name (tag 4) and code page (tag 3). nullopt when no menu declares one: such a
// package is what it was before code pages could be declared.
std::optional<PackageEntryData> CodePageEntry(std::span<const MenuCodePage> menus);

}  // namespace ambrevo::pack
