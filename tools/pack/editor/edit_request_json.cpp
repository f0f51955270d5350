#include "pack/editor/edit_request_json.h"

#include <cstdint>
#include <limits>
#include <string_view>

#include "pack/common/pack_error.h"
#include "pack/pictures/filled_picture.h"
#include "pack/source/menu_keys.h"

namespace ambrevo::pack {
namespace {

// What a refused value's message names: the key, and within a list or table the place's
// label ("Left"), name or number.
class ValueName {
public:
    explicit ValueName(std::string_view path) {
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
        throw PackError(Named() + " needs " + std::string(needs));
    }
    [[noreturn]] void RefuseMissing() const { Refuse(needs_); }

private:
    ValueName() = default;
    ValueName Within(std::string place) const {
        ValueName within;
        within.key_ = Named();
        within.place_ = std::move(place);
        return within;
    }
    std::string Named() const { return place_.empty() ? key_ : key_ + ": " + place_; }

    std::string key_;
    std::vector<std::string_view> parts_;
    std::string place_;
    std::string needs_ = "a value: a text, a number, true or false, a list or a table";
};

TomlValue ValueOf(const nlohmann::json& value, const ValueName& name) {
    switch (value.type()) {
        case nlohmann::json::value_t::string:
            return {value.get<std::string>()};
        case nlohmann::json::value_t::boolean:
            return {value.get<bool>()};
        case nlohmann::json::value_t::number_integer:
            return {value.get<std::int64_t>()};
        case nlohmann::json::value_t::number_unsigned:
            if (value.get<std::uint64_t>() > std::numeric_limits<std::int64_t>::max()) {
                name.Refuse("a number TOML can hold, not " + value.dump());
            }
            return {value.get<std::int64_t>()};
        case nlohmann::json::value_t::array: {
            TomlValue::List list;
            for (std::size_t i = 0; i < value.size(); ++i) {
                list.push_back(ValueOf(value[i], name.Element(i)));
            }
            return {std::move(list)};
        }
        case nlohmann::json::value_t::object: {
            TomlValue::Table table;
            for (const auto& [key, element] : value.items()) {
                if (key.empty()) throw PackError("a key must not be empty");
                table.emplace_back(key, ValueOf(element, name.Member(key)));
            }
            return {std::move(table)};
        }
        case nlohmann::json::value_t::number_float:
            name.Refuse("a whole number, not " + value.dump());
        default:
            name.RefuseMissing();
    }
}

const nlohmann::json* Field(const nlohmann::json& object, const char* name) {
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

// A text the edit may give; null is as good as leaving it out.
std::optional<std::string> TextField(const nlohmann::json& object, const char* name) {
    const nlohmann::json* field = Field(object, name);
    if (!field || field->is_null()) return std::nullopt;
    if (!field->is_string()) throw PackError("\"" + std::string(name) + "\" must be a text");
    return field->get<std::string>();
}

// An item's number: its range is the session's to check, against the file.
int ItemNumber(const nlohmann::json& value, const char* name) {
    if (!value.is_number_integer() || value.get<std::int64_t>() < 1 ||
        value.get<std::int64_t>() > std::numeric_limits<int>::max()) {
        throw PackError("\"" + std::string(name) + "\" must be an item's number, from 1");
    }
    return value.get<int>();
}

// The keys of a "set" or "add", each value named as the key catalogue names the key
// (`item.position` for an item's).
std::vector<KeyChange> KeyChanges(const nlohmann::json& keys, bool ofItem, bool removals) {
    std::vector<KeyChange> changes;
    for (const auto& [key, value] : keys.items()) {
        KeyChange change;
        std::size_t begin = 0;
        for (;;) {
            const std::size_t dot = std::min(key.find('.', begin), key.size());
            if (dot == begin) throw PackError("a key must not be empty");
            change.path.push_back(key.substr(begin, dot - begin));
            if (dot == key.size()) break;
            begin = dot + 1;
        }
        if (!value.is_null() || !removals) {
            change.value = ValueOf(value, ValueName((ofItem ? "item." : "") + key));
        }
        changes.push_back(std::move(change));
    }
    return changes;
}

std::vector<KeyChange> SetOf(const nlohmann::json& part, bool ofItem) {
    const nlohmann::json* set = Field(part, "set");
    if (!set || !set->is_object() || set->empty()) throw PackError("\"set\" must name keys");
    return KeyChanges(*set, ofItem, true);
}

ItemKeys ItemKeysOf(const nlohmann::json& part) {
    ItemKeys keys;
    if (const nlohmann::json* item = Field(part, "item")) keys.item = ItemNumber(*item, "item");
    keys.keys = SetOf(part, keys.item.has_value());
    return keys;
}

// "#RRGGBB" as 0xRRGGBB.
std::optional<std::uint32_t> ColourOf(const nlohmann::json* value) {
    if (!value || !value->is_string()) return std::nullopt;
    return RgbOfHexText(value->get<std::string>());
}

bool IsSide(const nlohmann::json& value) {
    return value.is_number_integer() && value.get<std::int64_t>() >= 1 &&
           value.get<std::int64_t>() <= kMaxPlainSide;
}

PlainFill PlainFillOf(const nlohmann::json& keys) {
    const nlohmann::json* size = Field(keys, "size");
    if (!size || !size->is_array() || size->size() != 2 || !IsSide((*size)[0]) ||
        !IsSide((*size)[1])) {
        throw PackError("a plain background's size must be [width, height], each 1 to " +
                        std::to_string(kMaxPlainSide) + " pixels");
    }
    const std::optional<std::uint32_t> colour = ColourOf(Field(keys, "color"));
    if (!colour) throw PackError("a plain background's colour must be written \"#RRGGBB\"");
    return {(*size)[0].get<int>(), (*size)[1].get<int>(), *colour};
}

NewMenu NewMenuOf(const nlohmann::json& keys) {
    if (!keys.is_object()) throw PackError("\"add_menu\" must give the new menu's keys");
    NewMenu menu;
    const std::optional<std::string> file = TextField(keys, "file");
    if (!file) throw PackError("\"add_menu\" must name the new menu's \"file\"");
    menu.file = *file;
    for (const auto& [key, value] : keys.items()) {
        if (key == "file" || (key == "background" && (value.is_null() || value.is_object()))) {
            continue;
        }
        if ((key != "title" && key != "background") || !value.is_string()) {
            throw PackError("a new menu takes a \"title\" and a \"background\", both texts");
        }
    }
    menu.title = TextField(keys, "title").value_or("");
    if (const nlohmann::json* background = Field(keys, "background");
        background && background->is_object()) {
        menu.background = PlainFillOf(*background);
    } else if (background && background->is_string()) {
        menu.background = background->get<std::string>();
    }
    return menu;
}

MenuSourceChange SourceChangeOf(const nlohmann::json& request) {
    if (const nlohmann::json* duplicate = Field(request, "duplicate")) {
        DuplicateItem copy{ItemNumber(*duplicate, "duplicate"), {}};
        if (Field(request, "set")) copy.keys = SetOf(request, true);
        return copy;
    }
    if (Field(request, "set")) return SetKeys{{ItemKeysOf(request)}};
    if (const nlohmann::json* each = Field(request, "each")) {
        if (!each->is_array() || each->empty()) throw PackError("\"each\" must list edits");
        SetKeys set;
        for (const nlohmann::json& part : *each) {
            if (!part.is_object()) throw PackError("\"each\" must list edits");
            set.each.push_back(ItemKeysOf(part));
        }
        return set;
    }
    if (const nlohmann::json* add = Field(request, "add")) {
        if (!add->is_object()) throw PackError("\"add\" must give the new item's keys");
        return AddItem{KeyChanges(*add, true, false)};
    }
    if (const nlohmann::json* remove = Field(request, "remove")) {
        return RemoveItem{ItemNumber(*remove, "remove")};
    }
    if (const nlohmann::json* move = Field(request, "move")) {
        const nlohmann::json* to = Field(request, "to");
        if (!to) throw PackError("\"move\" needs \"to\", the item's new number");
        return MoveItem{ItemNumber(*move, "move"), ItemNumber(*to, "to")};
    }
    throw PackError(
        "an edit must \"set\", \"add\", \"remove\", \"move\", \"duplicate\", \"each\" or "
        "\"add_menu\"");
}

std::optional<Replay> ReplayOf(const nlohmann::json& request) {
    for (const auto& [name, way] : {std::pair{"undo", Replay::Undo}, {"redo", Replay::Redo}}) {
        const nlohmann::json* flag = Field(request, name);
        if (!flag) continue;
        if (!flag->is_boolean())
            throw PackError("\"" + std::string(name) + "\" must be true or false");
        if (flag->get<bool>()) return way;
    }
    return std::nullopt;
}

}  // namespace

EditRequest ParseEditRequest(const nlohmann::json& request) {
    if (!request.is_object()) throw PackError("an edit must be a JSON object");
    if (const std::optional<Replay> way = ReplayOf(request)) {
        return ReplayEdit{*way, TextField(request, "file")};
    }
    FileEdit edit;
    const std::optional<std::string> file = TextField(request, "file");
    if (!file) throw PackError("an edit must name its \"file\"");
    edit.file = *file;
    edit.version = TextField(request, "version").value_or("");
    edit.menu = TextField(request, "menu");
    edit.label = TextField(request, "label").value_or("");
    if (const nlohmann::json* menu = Field(request, "add_menu")) {
        edit.change = NewMenuOf(*menu);
    } else {
        edit.change = SourceChangeOf(request);
    }
    return edit;
}

}  // namespace ambrevo::pack
