#include "startup/first_menu.h"

#include <algorithm>

#include "package/density_table.h"
#include "package/item_name_table.h"
#include "startup/program_names.h"
#include "support/menu_code_pages.h"

namespace ambrevo {

std::string ChooseFirstMenuName(const std::string& firstArgument, const PackageDirectory& directory,
                                const LanguageTable& languages,
                                std::span<const std::string> languageCodes) {
    // Dropping everything up to each "\" and then each ":" in turn, until neither is
    // left, leaves exactly what follows the last of them.
    if (!firstArgument.empty()) return FileNamePart(firstArgument);
    // A language's menu is an entry of the package, and never one of its tables, which a
    // damaged table of languages might name.
    const auto holds = [&](const std::string& name) {
        if (name == kLanguageEntryName || name == kItemNameEntryName ||
            name == kCodePageEntryName || name == kDensityEntryName) {
            return false;
        }
        return std::any_of(directory.begin(), directory.end(),
                           [&](const PackageEntry& entry) { return entry.name == name; });
    };
    for (const std::string& code : languageCodes) {
        const std::string* menu = languages.MenuFor(code);
        if (menu != nullptr && holds(*menu)) return *menu;
    }
    return directory.front().name;
}

}  // namespace ambrevo
