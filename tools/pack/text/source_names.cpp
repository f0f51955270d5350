#include "pack/text/source_names.h"

#include <algorithm>

namespace ambrevo::pack {

std::optional<std::int32_t> NameTable::Find(std::string_view name) const {
    for (const Entry& entry : entries_) {
        if (entry.name == name) return entry.value;
    }
    return std::nullopt;
}

std::optional<std::string_view> NameTable::NameOf(std::int32_t value) const {
    for (const Entry& entry : entries_) {
        if (entry.value == value) return entry.name;
    }
    return std::nullopt;
}

std::int32_t NameTable::Lowest() const {
    return std::min_element(entries_.begin(), entries_.end(),
                            [](auto& a, auto& b) { return a.value < b.value; })
        ->value;
}

std::int32_t NameTable::Highest() const {
    return std::max_element(entries_.begin(), entries_.end(),
                            [](auto& a, auto& b) { return a.value < b.value; })
        ->value;
}

std::string NameTable::List() const {
    std::string list;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (i > 0) list += i + 1 == entries_.size() ? " or " : ", ";
        list += '"';
        list += entries_[i].name;
        list += '"';
    }
    return list;
}

std::vector<std::string> NameTable::Names() const {
    std::vector<std::string> names;
    for (const Entry& entry : entries_) names.emplace_back(entry.name);
    return names;
}

const NameTable& PlacementNames() {
    static const NameTable table = {
        {"center", 0},
        {"top-left", 1},
        {"top-right", 2},
        {"bottom-left", 3},
        {"bottom-right", 4},
        {"top-left-quarter", 5},
        {"top-right-quarter", 6},
        {"bottom-left-quarter", 7},
        {"bottom-right-quarter", 8},
        {"upper-third", 9},
        {"upper-three-fifths", 10},
    };
    return table;
}

const NameTable& AlignmentNames() {
    static const NameTable table = {{"left", 0}, {"right", 1}, {"center", 2}};
    return table;
}

const NameTable& AnimationNames() {
    static const NameTable table = {
        {"none", 0}, {"random", 1}, {"once", 2}, {"loop", 3}, {"bounce-once", 4}, {"bounce", 5},
    };
    return table;
}

const NameTable& ItemKindNames() {
    static const NameTable table = {{"picture", 0}, {"button", 1}, {"text", 2}};
    return table;
}

const NameTable& ShowModeNames() {
    static const NameTable table = {{"normal", 0}, {"maximized", 1}, {"hidden", 2}};
    return table;
}

const NameTable& ViewerMatchNames() {
    static const NameTable table = {{"exact", 0}, {"at-least", 1}};
    return table;
}

const NameTable& ShapeCutNames() {
    static const NameTable table = {
        {"none", kCutNone}, {"transparent", kCutTransparent}, {"color", kCutColor}};
    return table;
}

const NameTable& PictureSetNames() {
    static const NameTable table = {
        {"normal", 0}, {"highlighted", 1}, {"pressed", 2}, {"description", 3}};
    return table;
}

}  // namespace ambrevo::pack
