#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ambrevo::pack {

// A key and its value as TOML text ("[46, 130]", "\"Read me\"").
using TomlKeyValue = std::pair<std::string, std::string>;

// An element of an array of tables, by its index from 0: {"item", 2} is the third [[item]].
struct TomlElement {
    std::string array;
    int index = 0;

    bool operator==(const TomlElement&) const = default;
};

// A table of the text: below the root, or below an array's element when one is given, the
// table reached by `keys`; no keys name the root or the element itself. {{"item", 2},
// {"pictures"}} is the [item.pictures] table that follows the third [[item]].
struct TomlTable {
    std::optional<TomlElement> element;
    std::vector<std::string> keys;

    bool operator==(const TomlTable&) const = default;
};

// Edits a TOML source in place: each edit changes only the lines it must, so comments,
// blank lines, key order, quoting and number style of everything else stay byte for byte.
//
// Keys are the table's own keys as written ("font" for `font = {…}`; a key written dotted,
// `font.size = 9`, is replaced whole when its first part is set), quoted where a key must
// be. Values are TOML value texts; the caller formats them (TomlValueText).
//
// Throws PackError when the text is not TOML this editor can follow, or a table named does
// not exist (an array element), or the index is out of range.
class TomlSourceEdit {
public:
    explicit TomlSourceEdit(std::string text);

    const std::string& Text() const { return text_; }

    // Sets the key, in place when it is there, else on a line after the table's last key
    // (the table added where it is missing).
    void Set(const TomlTable& table, std::string_view key, std::string_view value);
    // Adds a value at the end of the key's array, in the array's own layout (on its line,
    // or on a line of its own indented as the last); the key is set to an array of that
    // one value when it is missing.
    void Append(const TomlTable& table, std::string_view key, std::string_view value);
    // Removes the key's lines; nothing when it is not there.
    void Remove(const TomlTable& table, std::string_view key);
    // The number of elements of an array of tables.
    int Count(std::string_view array) const;
    // Adds an element after the array's last (at the end of the text when it has none),
    // a blank line before it; returns its index.
    int Add(std::string_view array, const std::vector<TomlKeyValue>& keys);
    // Removes the element with its sub-tables and the comments and blank lines before it.
    void RemoveElement(std::string_view array, int element);
    // Copies the element with its sub-tables, as written, to just after it, a blank line
    // between them; returns the copy's index.
    int DuplicateElement(std::string_view array, int element);
    // Moves the element to index `to`, the others keeping their order.
    void MoveElement(std::string_view array, int from, int to);

private:
    struct Statement;
    struct Section;
    struct Index;
    Index Scan() const;
    void Replace(std::size_t begin, std::size_t end, std::string_view with);

    std::string text_;
};

}  // namespace ambrevo::pack
