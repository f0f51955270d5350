#pragma once

#include <optional>
#include <string_view>

#include "graphics/geometry.h"

namespace ambrevo {

// The window outline of a menu's shape text: its W x H rectangle without the pixel runs
// the text lists. Nothing when the text is no valid run list, so that the window keeps
// a plain rectangle rather than an outline that cannot be trusted.
std::optional<ui::Region> BuildShapeRegion(std::string_view text);

}  // namespace ambrevo
