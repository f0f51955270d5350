#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "pack/editor/edit_history.h"
#include "pack/editor/new_menu_file.h"
#include "pack/editor/toml_values.h"

namespace ambrevo::pack {

// One key an edit sets, or removes when it has no value. The path names the tables below
// the menu or item, then the key: {"pictures", "normal"} is the key normal of its pictures.
struct KeyChange {
    std::vector<std::string> path;
    std::optional<TomlValue> value;
};

// Keys of one item, numbered from 1 in file order, or of the menu itself.
struct ItemKeys {
    std::optional<int> item;
    std::vector<KeyChange> keys;
};

// Keys of one item or of several, written and undone together.
struct SetKeys {
    std::vector<ItemKeys> each;
};
// A new item after the last, with these keys (none removes anything).
struct AddItem {
    std::vector<KeyChange> keys;
};
struct RemoveItem {
    int item = 0;
};
// The item moved to the place `to` of the tab order, the others keeping theirs.
struct MoveItem {
    int item = 0;
    int to = 0;
};
// A copy of the item, as written, just after it, with `keys` changed on the copy.
struct DuplicateItem {
    int item = 0;
    std::vector<KeyChange> keys;
};
// A menu's new file, listed last in the package file; its background a picture's name, a
// plain one the tool writes, or none.
struct NewMenu {
    std::string file;
    std::string title;
    std::variant<std::monostate, std::string, PlainFill> background;
};

// A change of a menu source's own keys or its items.
using MenuSourceChange = std::variant<SetKeys, AddItem, RemoveItem, MoveItem, DuplicateItem>;

// An edit of one file, made on its version ("" for a file not written yet). `menu` is the
// entry name of the menu the page showed; `label` names the step for undo and redo ("" for
// one made from the edit).
struct FileEdit {
    std::string file;
    std::string version;
    std::optional<std::string> menu;
    std::string label;
    std::variant<MenuSourceChange, NewMenu> change;
};

// What the step of the edit did, in the author's words: the edit's own label, or one made
// from the change ("move of item 3", "change caption of 2 items").
std::string StepLabel(const FileEdit& edit);

// Whether the edit writes the text `text` anywhere among the values it sets or adds.
bool WritesText(const FileEdit& edit, const std::string& text);

// Undo or redo of the newest step, or of the newest touching `file`.
struct ReplayEdit {
    Replay way = Replay::Undo;
    std::optional<std::string> file;
};

using EditRequest = std::variant<FileEdit, ReplayEdit>;

}  // namespace ambrevo::pack
