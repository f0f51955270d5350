#pragma once

#include <string>
#include <string_view>

namespace ambrevo::pack {

// What the TOML parser's message (parse_error::description()) means for an author who has
// never seen TOML, and what to write instead. A message it does not know is kept as the
// parser gave it, on one line.
std::string TomlProblem(std::string_view description);

}  // namespace ambrevo::pack
