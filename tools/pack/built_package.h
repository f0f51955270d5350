#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "menu/menu_model.h"
#include "package_writer.h"

namespace ambrevo::pack {

// One entry of a built package as the player's readers see it.
struct BuiltMenu {
    std::string name;                            // as the directory holds it (8-bit, lower case)
    std::int32_t dataOffset = 0;                 // 0-based
    std::shared_ptr<const MenuDefinition> menu;  // null when the entry cannot be read
    std::string problem;                         // why it cannot be read, or why it reads damaged
};

struct BuiltPackage {
    std::int64_t programSize = 0;  // bytes before the package: the bare player
    PackageHeaderValues header;
    std::vector<BuiltMenu> menus;
};

// Reads the package appended to a program file with the player's own package and menu
// readers. Throws PackError when the file cannot be read or holds no readable package;
// a damaged menu is kept as an entry with its problem.
BuiltPackage ReadBuiltPackage(const std::filesystem::path& file);
// The same for program bytes held in memory; name stands for the file in messages.
BuiltPackage ReadBuiltPackageBytes(const std::string& name, std::span<const std::uint8_t> bytes);

// The first entry of that name, lower-cased (A-Z) as the player looks names up; null when
// there is none.
const BuiltMenu* FindBuiltMenu(const BuiltPackage& package, const std::string& name);

// True when the program bytes already end with a package the player can open.
bool CarriesPackage(std::span<const std::uint8_t> program);

}  // namespace ambrevo::pack
