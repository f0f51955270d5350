#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "pack/common/diagnostics.h"
#include "pack/package/package_writer.h"
#include "pack/pictures/picture_cache.h"
#include "pack/source/menu_source_reader.h"

namespace ambrevo::pack {

constexpr std::string_view kDefaultHeaderText = "Ambrevo";
constexpr int kMaxPackageMenus = 100;
// The player's directory holds 100 entries: the menus and, when a menu declares a code
// page, the table of code pages.
constexpr int kMaxPackageEntries = 100;

// The menus of a package in package order (the first is the menu the player shows first)
// and its header values.
struct PackageSource {
    PackageHeaderValues header{std::string(kDefaultHeaderText), 0};
    std::vector<MenuSource> menus;
};

// What the sources are read for. A preview may read one menu file alone: its menu
// targets may then name menus beside it, which cannot be checked and are warned about.
enum class SourceUse { Build, Preview };

// Texts read in place of source files (an edit not yet written), by the path as the
// sources name it: given, or the package file's folder joined with a "menus" entry.
using SourceTexts = std::map<std::filesystem::path, std::string>;

// Reads sources: menu TOML files in package order, or one package file (a TOML file with
// a "menus" list). Every problem, including those between menus (duplicate names, menu
// targets that name no menu of the package), is reported to diagnostics.
PackageSource ReadPackageSource(const std::vector<std::filesystem::path>& sources,
                                PictureCache& pictures, Diagnostics& diagnostics,
                                SourceUse use = SourceUse::Build,
                                const SourceTexts* texts = nullptr);

}  // namespace ambrevo::pack
