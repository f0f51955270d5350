#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "pack/common/diagnostics.h"
#include "pack/writer/package_writer.h"
#include "pack/pictures/picture_cache.h"
#include "pack/source/menu_source_reader.h"

namespace ambrevo::pack {

constexpr std::string_view kDefaultHeaderText = "Ambrevo";
constexpr int kMaxPackageMenus = 100;
// The player's directory holds 100 entries: the menus and the tables that need one: of code
// pages when a menu declares one, of item names when an item has one, of languages when
// the package names a menu per language, of pictures for high density when one is drawn.
constexpr int kMaxPackageEntries = 100;

// The first menu for users of one language, as a package file's [languages] names it.
struct LanguageSource {
    std::string code;       // ISO 639-1, "de"
    std::string entryName;  // of a menu of the package
};

// The menus of a package in package order (the first is the menu the player shows first,
// and to users of a language without a menu of its own), its header values and the first
// menu per language.
struct PackageSource {
    PackageHeaderValues header{std::string(kDefaultHeaderText), 0};
    std::vector<MenuSource> menus;
    std::vector<LanguageSource> languages;
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
