#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace ambrevo::pack {

// A value the designer writes into a TOML source: a text, a whole number, true or false, a
// list, or an inline table with its keys in the order given. Nothing else occurs in a menu
// source, so nothing else can be written.
struct TomlValue {
    using List = std::vector<TomlValue>;
    using Table = std::vector<std::pair<std::string, TomlValue>>;
    std::variant<std::string, std::int64_t, bool, List, Table> value;
};

// The value as the editor writes it: strings quoted and escaped, integers and booleans as
// they are, lists as "[a, b]", tables inline as "{ name = "Tahoma", size = 9 }".
std::string TomlValueText(const TomlValue& value);

// Whether the value is the text `text` or holds it in a list or table.
bool HoldsText(const TomlValue& value, const std::string& text);

}  // namespace ambrevo::pack
