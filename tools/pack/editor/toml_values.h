#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace ambrevo::pack {

// The TOML text of a JSON value, as the editor writes it: strings quoted and escaped,
// integers and booleans as they are, arrays as "[a, b]", objects as inline tables
// "{ name = "Tahoma", size = 9 }". Throws PackError for what a menu source never holds:
// null, fractions and keys that are empty. path, the key's path in the key catalogue
// ("item.position"), lets the message name the key and the place of a list it refuses
// (`Position ("position"): "Left" needs a number`).
std::string TomlValueText(const nlohmann::json& value, std::string_view path = "");

}  // namespace ambrevo::pack
