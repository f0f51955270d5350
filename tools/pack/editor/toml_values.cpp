#include "pack/editor/toml_values.h"

#include <algorithm>
#include <vector>

#include "pack/common/pack_error.h"
#include "pack/source/menu_keys.h"
#include "pack/text/toml_text.h"

namespace ambrevo::pack {
namespace {

bool IsBareKey(const std::string& key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
}

// What a refusal names: the key, and within a list or table the place's label ("Left"),
// name or number.
class ValueName {
public:
    explicit ValueName(std::string_view path) {
        if (path.empty()) return;
        constexpr std::string_view kItemScope = "item.";
        const std::string_view written =
            path.starts_with(kItemScope) ? path.substr(kItemScope.size()) : path;
        key_ = KeyInMessage(path, written);
        if (const MenuKey* known = FindMenuKey(path)) parts_ = PartLabels(known->type);
    }

    ValueName Element(std::size_t index) const {
        const bool labelled = index < parts_.size();
        ValueName element = Within(labelled ? "\"" + std::string(parts_[index]) + "\""
                                            : "place " + std::to_string(index + 1));
        if (labelled) element.needs_ = "a number";
        return element;
    }
    ValueName Member(const std::string& key) const { return Within("\"" + key + "\""); }

    [[noreturn]] void Refuse(std::string_view needs) const {
        throw PackError(Subject() + " needs " + std::string(needs));
    }
    [[noreturn]] void RefuseMissing() const { Refuse(needs_); }

private:
    ValueName Within(std::string place) const {
        ValueName within;
        within.key_ = Named();
        within.place_ = std::move(place);
        return within;
    }
    ValueName() = default;
    std::string Named() const {
        if (place_.empty() || key_.empty()) return key_ + place_;
        return key_ + ": " + place_;
    }
    std::string Subject() const { return Named().empty() ? "a value" : Named(); }

    std::string key_;
    std::vector<std::string_view> parts_;
    std::string place_;
    std::string needs_ = "a value: a text, a number, true or false, a list or a table";
};

std::string ValueText(const nlohmann::json& value, const ValueName& name) {
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
            for (std::size_t i = 0; i < value.size(); ++i) {
                text += (i > 0 ? ", " : "") + ValueText(value[i], name.Element(i));
            }
            return text + "]";
        }
        case nlohmann::json::value_t::object: {
            std::string text = "{";
            for (const auto& [key, element] : value.items()) {
                if (key.empty()) throw PackError("a key must not be empty");
                text += (text.size() > 1 ? ", " : " ") + (IsBareKey(key) ? key : TomlString(key)) +
                        " = " + ValueText(element, name.Member(key));
            }
            return text + (text.size() > 1 ? " }" : "}");
        }
        case nlohmann::json::value_t::number_float:
            name.Refuse("a whole number, not " + value.dump());
        default:
            name.RefuseMissing();
    }
}

}  // namespace

std::string TomlValueText(const nlohmann::json& value, std::string_view path) {
    return ValueText(value, ValueName(path));
}

}  // namespace ambrevo::pack
