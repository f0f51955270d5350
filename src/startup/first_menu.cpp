#include "startup/first_menu.h"

#include <algorithm>

#include "startup/program_names.h"

namespace ambrevo {

std::string ChooseFirstMenuName(const std::string& firstArgument, const PackageDirectory& directory,
                                const LanguageTable& languages,
                                std::span<const std::string> languageCodes) {
    // Dropping everything up to each "\" and then each ":" in turn, until neither is
    // left, leaves exactly what follows the last of them.
    if (!firstArgument.empty()) return FileNamePart(firstArgument);
    const auto holds = [&](const std::string& name) {
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
