#include "startup/first_menu.h"

#include "startup/program_names.h"

namespace ambrevo {

std::string ChooseFirstMenuName(const std::string& firstArgument,
                                const PackageDirectory& directory) {
    // Dropping everything up to each "\" and then each ":" in turn, until neither is
    // left, leaves exactly what follows the last of them.
    if (!firstArgument.empty()) return FileNamePart(firstArgument);
    return directory.front().name;
}

}  // namespace ambrevo
