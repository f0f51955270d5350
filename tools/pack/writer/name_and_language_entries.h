#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "menu/menu_model.h"
#include "pack/writer/package_writer.h"
#include "package/item_name_table.h"
#include "package/language_table.h"

namespace ambrevo::pack {

// The entry "names.dat" that holds the items' names for screen readers
// (package/item_name_table.h), the names in the order given; nullopt when there are none,
// so that a package without names is what it was before items could be named.
std::optional<PackageEntryData> ItemNameEntry(std::span<const ItemName> names);

// Appends the named items of a menu to names, in item order.
void CollectItemNames(const std::string& entryName, const MenuDefinition& menu,
                      std::vector<ItemName>& names);

// The entry "languages.dat" that names the first menu per language
// (package/language_table.h); nullopt when it names none.
std::optional<PackageEntryData> LanguageEntry(std::span<const LanguageMenu> languages);

}  // namespace ambrevo::pack
