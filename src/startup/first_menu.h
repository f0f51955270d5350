#pragma once

#include <string>

#include "package/package.h"

namespace ambrevo {

// The name of the menu shown first: the first command-line argument with any folder and
// drive in front of it dropped, or, without an argument, the name in directory slot 1.
// The menu load lower-cases it when it looks the entry up.
std::string ChooseFirstMenuName(const std::string& firstArgument,
                                const PackageDirectory& directory);

}  // namespace ambrevo
