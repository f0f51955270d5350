#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "menu/menu_model.h"
#include "pack/writer/density_entry.h"
#include "pack/writer/package_writer.h"
#include "package/language_table.h"

namespace ambrevo::pack {

// One entry of a built package as the player's readers see it.
struct BuiltMenu {
    std::string name;                             // as the directory holds it (lower case)
    std::int32_t dataOffset = 0;                  // 0-based
    std::uint32_t codePage = 0;                   // declared for its texts; 0: none
    std::shared_ptr<const MenuDefinition> menu;   // null when the entry cannot be read
    std::string problem;                          // why it cannot be read, or why it reads damaged
    std::vector<DensityPicture> densityPictures;  // its pictures for high density
};

struct BuiltPackage {
    std::int64_t programSize = 0;  // bytes before the package: the bare player
    PackageHeaderValues header;
    std::vector<BuiltMenu> menus;         // every entry but the tables beside the menus
    std::vector<LanguageMenu> languages;  // the first menu per language
    std::string densityProblem;  // why the pictures for high density cannot be read; "": none
};

// Reads the package appended to a program file with the player's own package and menu
// readers, the menus' code pages, their items' names and the first menu per language from
// the tables beside them ("codepages.dat", "names.dat", "languages.dat") as the player
// reads them, and the menus' pictures for high density ("density.dat"). Throws PackError when the
// file cannot be read or holds no readable package; a damaged menu is kept as an entry with its
// problem.
BuiltPackage ReadBuiltPackage(const std::filesystem::path& file);
// The same for program bytes held in memory; name stands for the file in messages.
BuiltPackage ReadBuiltPackageBytes(const std::string& name, std::span<const std::uint8_t> bytes);

// The first menu of that name, lower-cased (A-Z) as the player looks names up, given as
// its bytes or as UTF-8 text (a name in its menu's code page); null when there is none.
const BuiltMenu* FindBuiltMenu(const BuiltPackage& package, const std::string& name);

// True when the program bytes already end with a package the player can open.
bool CarriesPackage(std::span<const std::uint8_t> program);

}  // namespace ambrevo::pack
