#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ambrevo::pack {

// The readable names of a numbered setting of the menu source, one name per value.
class NameTable {
public:
    struct Entry {
        std::string_view name;
        std::int32_t value;
    };
    NameTable(std::initializer_list<Entry> entries) : entries_(entries) {}

    std::optional<std::int32_t> Find(std::string_view name) const;
    std::optional<std::string_view> NameOf(std::int32_t value) const;
    std::int32_t Lowest() const;
    std::int32_t Highest() const;
    // "a", "b" or "c" (quoted, for messages).
    std::string List() const;
    // The names in the table's order.
    std::vector<std::string> Names() const;

private:
    std::vector<Entry> entries_;
};

const NameTable& PlacementNames();    // window placement 0..10
const NameTable& AlignmentNames();    // left, right, center
const NameTable& AnimationNames();    // how an item cycles its frames, 0..5
const NameTable& ItemKindNames();     // picture, button, text
const NameTable& ShowModeNames();     // window state of a launched program
const NameTable& ViewerMatchNames();  // exact or at-least
const NameTable& ShapeCutNames();     // how the window shape is found
const NameTable& PictureSetNames();   // normal, highlighted, pressed, description

// Shape cuts.
constexpr std::int32_t kCutNone = 0;
constexpr std::int32_t kCutTransparent = 1;
constexpr std::int32_t kCutColor = 2;

}  // namespace ambrevo::pack
