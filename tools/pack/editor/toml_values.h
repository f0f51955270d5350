#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace ambrevo::pack {

// The TOML text of a JSON value, as the editor writes it: strings quoted and escaped,
// integers and booleans as they are, arrays as "[a, b]", objects as inline tables
// "{ name = "Tahoma", size = 9 }". Throws PackError for what a menu source never holds:
// null, fractions and keys that are empty.
std::string TomlValueText(const nlohmann::json& value);

}  // namespace ambrevo::pack
