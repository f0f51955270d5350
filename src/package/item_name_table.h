#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "package/package_stream.h"

namespace ambrevo {

// The names that menus give their items for screen readers travel in an entry of their
// own, which players that do not know it never look up:
//   entry "names.dat": ReadInteger count (0..10000), then count times ReadString (the
//   menu's entry name, lower case), ReadInteger (the item's number, 1..100) and
//   ReadString (its name, in the menu's code page like the menu's other texts).
inline constexpr char kItemNameEntryName[] = "names.dat";
inline constexpr int kMaxItemNumber = 100;
inline constexpr int kMaxItemNames = 100 * kMaxItemNumber;

struct ItemName {
    std::string entryName;  // of the menu
    std::int32_t item = 0;  // 1-based
    std::string name;       // stored bytes
};

class ItemNameTable {
public:
    // Reads the table at offset. A damaged table (a wrong count, tag or item number, bytes
    // cut short) names no item; the load's error flag is left alone.
    static ItemNameTable Read(PackageStream& stream, std::int64_t offset);

    // The names of the menu's items (lower-case entry name), in the table's order.
    std::vector<const ItemName*> Of(std::string_view entryName) const;
    const std::vector<ItemName>& All() const { return names_; }

private:
    std::vector<ItemName> names_;
};

}  // namespace ambrevo
