#include "pack/editor/toml_values.h"

#include <algorithm>

#include "pack/common/pack_error.h"
#include "pack/source/toml_text.h"

namespace ambrevo::pack {
namespace {

bool IsBareKey(const std::string& key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
}

}  // namespace

std::string TomlValueText(const nlohmann::json& value) {
    switch (value.type()) {
        case nlohmann::json::value_t::string:
            return TomlString(value.get_ref<const std::string&>());
        case nlohmann::json::value_t::boolean:
            return value.get<bool>() ? "true" : "false";
        case nlohmann::json::value_t::number_integer:
        case nlohmann::json::value_t::number_unsigned:
            return value.dump();
        case nlohmann::json::value_t::array: {
            std::string text = "[";
            for (const auto& element : value) {
                text += (text.size() > 1 ? ", " : "") + TomlValueText(element);
            }
            return text + "]";
        }
        case nlohmann::json::value_t::object: {
            std::string text = "{";
            for (const auto& [key, element] : value.items()) {
                if (key.empty()) throw PackError("a key must not be empty");
                text += (text.size() > 1 ? ", " : " ") +
                        (IsBareKey(key) ? key : TomlString(key)) + " = " + TomlValueText(element);
            }
            return text + (text.size() > 1 ? " }" : "}");
        }
        case nlohmann::json::value_t::number_float:
            throw PackError("a number must be whole, not " + value.dump());
        default:
            throw PackError("a value must be a text, number, true or false, list or table");
    }
}

}  // namespace ambrevo::pack
