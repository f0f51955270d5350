#include "pack/editor/toml_values.h"

#include <algorithm>

#include "pack/text/toml_text.h"

namespace ambrevo::pack {
namespace {

bool IsBareKey(const std::string& key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
}

struct TextOf {
    std::string operator()(const std::string& text) const { return TomlString(text); }
    std::string operator()(std::int64_t number) const { return std::to_string(number); }
    std::string operator()(bool flag) const { return flag ? "true" : "false"; }
    std::string operator()(const TomlValue::List& list) const {
        std::string text = "[";
        for (std::size_t i = 0; i < list.size(); ++i) {
            text += (i > 0 ? ", " : "") + TomlValueText(list[i]);
        }
        return text + "]";
    }
    std::string operator()(const TomlValue::Table& table) const {
        std::string text = "{";
        for (const auto& [key, element] : table) {
            text += (text.size() > 1 ? ", " : " ") + (IsBareKey(key) ? key : TomlString(key)) +
                    " = " + TomlValueText(element);
        }
        return text + (text.size() > 1 ? " }" : "}");
    }
};

}  // namespace

std::string TomlValueText(const TomlValue& value) { return std::visit(TextOf{}, value.value); }

bool HoldsText(const TomlValue& value, const std::string& text) {
    if (const auto* held = std::get_if<std::string>(&value.value)) return *held == text;
    if (const auto* list = std::get_if<TomlValue::List>(&value.value)) {
        return std::any_of(list->begin(), list->end(),
                           [&](const TomlValue& element) { return HoldsText(element, text); });
    }
    if (const auto* table = std::get_if<TomlValue::Table>(&value.value)) {
        return std::any_of(table->begin(), table->end(),
                           [&](const auto& member) { return HoldsText(member.second, text); });
    }
    return false;
}

}  // namespace ambrevo::pack
