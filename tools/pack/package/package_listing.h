#pragma once

#include <ostream>

#include "pack/package/built_package.h"

namespace ambrevo::pack {

// Writes the package directory and a readable summary of each menu: title, placement,
// background, shape, and per item its kind, caption, target and pictures per set.
// Returns false when a menu could not be read (its problem is listed in its place).
bool ListPackage(const BuiltPackage& package, std::ostream& out);

}  // namespace ambrevo::pack
