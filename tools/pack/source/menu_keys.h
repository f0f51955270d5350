#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "pack/text/source_names.h"

namespace ambrevo::pack {

// What a key's value is, as an author writes it.
enum class KeyType {
    Text,          // "..."
    Number,        // a whole number within lowest..highest
    Switch,        // true or false
    Choice,        // a name of the key's NameTable, or its number
    Colour,        // "#RRGGBB"
    Font,          // { name, size, bold, italic, underline }
    ColouredFont,  // a font with color = "#RRGGBB" too
    ButtonFont,    // { name, size, bold }: the carried font a button style draws with
    Position,      // [x, y]
    Size,          // [width, height]
    Bounds,        // [x, y, width, height]
    Picture,       // a PNG file beside the source
    PictureList,   // PNG files, "" for an empty frame
    Target,        // what an item does: a file, program, address, menu or message
    CodePage,      // a Windows code page a menu can use, or 0
};

// The item kinds a key applies to, one bit per ItemKind.
enum ItemKinds : std::uint8_t {
    kNoKind = 0,
    kPictureKind = 1,
    kButtonKind = 2,
    kTextKind = 4,
    kEveryKind = kPictureKind | kButtonKind | kTextKind,
};

// One key of a menu source. path is the key as the source nests it: "title",
// "description.font", "item.position" (a key of each [[item]]), "item.pictures.normal".
struct MenuKey {
    std::string_view path = {};
    std::string_view group =
        {};  // the panel's heading: "Window", "Clock", "Action", "Pictures" ...
    std::string_view label = {};  // plain words: "Opens", "Ends the menu after the launch"
    std::string_view help = {};   // one line
    KeyType type = KeyType::Text;
    std::string_view defaultValue = {};  // as TOML writes it; empty: none (the key is left out)
    std::int64_t lowest = 0;             // Number
    std::int64_t highest = 0;            // Number
    const NameTable& (*choices)() = nullptr;  // Choice
    std::uint8_t kinds = kNoKind;             // item keys: ItemKinds
    bool version7Only = false;
};

// Every key of a menu and of its items, menu keys first, in the order the panel shows them.
const std::vector<MenuKey>& MenuKeys();

// The key at this path, or null.
const MenuKey* FindMenuKey(std::string_view path);

// How a message names a key: `Window title ("title")`, or `"written"` alone for a key the
// catalogue does not know. written is the key as the source's messages name it.
std::string KeyInMessage(std::string_view path, std::string_view written);

// The names of the places of a Position, Size or Bounds value ("Left", "Top" ...); empty
// for other types.
std::vector<std::string_view> PartLabels(KeyType type);

// The keys of a font table of this type: name, size, bold, italic, underline (and color);
// name, size and bold for a button style's.
std::vector<std::string_view> FontKeys(KeyType type);

// The catalogue for the designer: [{"path", "group", "label", "help", "type", "default",
// "lowest"?, "highest"?, "choices"?, "parts"?, "fields"?, "fonts"?, "kinds"?, "version7"}];
// "default" is null where the key has none, "kinds" lists the item kinds by name, "fonts"
// the only font names a font key takes.
nlohmann::json MenuKeysJson();

}  // namespace ambrevo::pack
