#pragma once

#include <string_view>

namespace ambrevo::pack {

// Whether the arrays and objects of a JSON text nest deeper than limit, counting the
// brackets outside strings: checked before the text is parsed, as the parser and the
// values it builds recurse once per level. Does not otherwise check the text.
bool NestsDeeperThan(std::string_view json, int limit);

}  // namespace ambrevo::pack
