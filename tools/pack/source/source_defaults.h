#pragma once

#include <cstdint>
#include <limits>

#include "menu/menu_model.h"
#include "pack/pictures/preview_text.h"  // the font sizes a source may give
#include "pack/writer/menu_body_writer.h"

namespace ambrevo::pack {

// What a menu source gets for every key it leaves out; docs/authoring.md lists the same
// values for authors.

constexpr int kDefaultMenuVersion = kLatestMenuVersion;
constexpr std::int32_t kDefaultShapeColorIndex = 13;   // magenta
constexpr std::int32_t kDefaultViewerVersionMode = 1;  // at least the version asked for
constexpr std::int32_t kDefaultItemWidth = 97;
constexpr std::int32_t kDefaultItemHeight = 25;

// The range of the menu format's 32-bit numbers, as a source's integers are checked.
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// Window-level fields; no items, no pictures, no shape.
MenuDefinition DefaultMenu();

// Item fields. A version 6 item holds the version 6 values (MenuItem's own) in the
// fields that only version 7 stores.
MenuItem DefaultItem(int version);

}  // namespace ambrevo::pack
