#include "pack/editor/edit_request.h"

#include <algorithm>

namespace ambrevo::pack {
namespace {

constexpr std::size_t kMaxLabel = 200;  // characters of a step's label kept

std::string ItemLabel(int item) { return "item " + std::to_string(item); }

std::string KeyName(const KeyChange& change) {
    std::string name;
    for (const std::string& part : change.path) name += (name.empty() ? "" : ".") + part;
    return name;
}

std::string SetLabel(const SetKeys& set) {
    std::vector<std::string> names;
    for (const ItemKeys& part : set.each) {
        for (const KeyChange& change : part.keys) {
            const std::string name = KeyName(change);
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
        }
    }
    std::string keys;
    for (const std::string& name : names) keys += (keys.empty() ? "" : ", ") + name;
    const std::string what = keys == "position" ? "move"
                             : keys == "size"   ? "resize"
                                                : "change " + keys;
    if (set.each.size() > 1) return what + " of " + std::to_string(set.each.size()) + " items";
    const std::optional<int> item = set.each.empty() ? std::nullopt : set.each[0].item;
    return what + " of " + (item ? ItemLabel(*item) : "the menu");
}

struct LabelOf {
    std::string operator()(const SetKeys& set) const { return SetLabel(set); }
    std::string operator()(const AddItem& add) const {
        for (const KeyChange& change : add.keys) {
            const auto* kind = change.path == std::vector<std::string>{"kind"} && change.value
                                   ? std::get_if<std::string>(&change.value->value)
                                   : nullptr;
            if (kind) return "add " + *kind;
        }
        return "add item";
    }
    std::string operator()(const RemoveItem& remove) const {
        return "delete " + ItemLabel(remove.item);
    }
    std::string operator()(const MoveItem& move) const { return "reorder " + ItemLabel(move.item); }
    std::string operator()(const DuplicateItem& copy) const {
        return "duplicate " + ItemLabel(copy.item);
    }
    std::string operator()(const NewMenu& menu) const { return "new menu " + menu.file; }
    std::string operator()(const MenuSourceChange& change) const {
        return std::visit(*this, change);
    }
};

bool Writes(const std::vector<KeyChange>& keys, const std::string& text) {
    return std::any_of(keys.begin(), keys.end(), [&](const KeyChange& change) {
        return change.value && HoldsText(*change.value, text);
    });
}

struct WritesOf {
    const std::string& text;

    bool operator()(const SetKeys& set) const {
        return std::any_of(set.each.begin(), set.each.end(),
                           [&](const ItemKeys& part) { return Writes(part.keys, text); });
    }
    bool operator()(const AddItem& add) const { return Writes(add.keys, text); }
    bool operator()(const RemoveItem&) const { return false; }
    bool operator()(const MoveItem&) const { return false; }
    bool operator()(const DuplicateItem& copy) const { return Writes(copy.keys, text); }
    bool operator()(const NewMenu& menu) const {
        const auto* background = std::get_if<std::string>(&menu.background);
        return background && *background == text;
    }
    bool operator()(const MenuSourceChange& change) const { return std::visit(*this, change); }
};

}  // namespace

std::string StepLabel(const FileEdit& edit) {
    if (!edit.label.empty()) return edit.label.substr(0, kMaxLabel);
    return std::visit(LabelOf{}, edit.change);
}

bool WritesText(const FileEdit& edit, const std::string& text) {
    return std::visit(WritesOf{text}, edit.change);
}

}  // namespace ambrevo::pack
