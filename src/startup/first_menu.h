#pragma once

#include <span>
#include <string>

#include "package/language_table.h"
#include "package/package.h"

namespace ambrevo {

// The name of the menu shown first: the first command-line argument with any folder and
// drive in front of it dropped; without an argument, the menu the package names for the
// first of the user's languages (ISO 639-1 codes, most preferred first) that it names one
// for and holds; else the name in directory slot 1. The menu load lower-cases it when it
// looks the entry up.
std::string ChooseFirstMenuName(const std::string& firstArgument, const PackageDirectory& directory,
                                const LanguageTable& languages,
                                std::span<const std::string> languageCodes);

}  // namespace ambrevo
