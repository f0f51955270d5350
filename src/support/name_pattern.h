#pragma once

#include <string_view>

namespace ambrevo {

// Whether a file name matches a folder listing's name pattern, as Windows matches them:
// "*" any run of characters, "?" any one; A-Z case ignored; "*.*" matches every name.
bool MatchesNamePattern(std::string_view pattern, std::string_view name);

}  // namespace ambrevo
