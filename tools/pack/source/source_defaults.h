#pragma once

#include <cstdint>
#include <limits>

#include "menu/menu_model.h"
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

// The font sizes a source may give, in points; a preview of a built menu draws its texts
// at sizes within them too. 0 asks Windows for its default size (a zero font height), which
// a menu may hold, so that every built menu extracts to sources that build again.
constexpr std::int32_t kMinFontPoints = 0;
// The size a preview draws for 0, Windows' default size.
constexpr std::int32_t kPreviewDefaultPoints = 8;
constexpr std::int32_t kMaxFontPoints = 1000;

// Window-level fields; no items, no pictures, no shape.
MenuDefinition DefaultMenu();

// Item fields. A version 6 item holds the version 6 values (MenuItem's own) in the
// fields that only version 7 stores.
MenuItem DefaultItem(int version);

}  // namespace ambrevo::pack
