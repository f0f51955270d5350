#pragma once

#include "graphics/bitmap.h"

namespace ambrevo::pack {

// The picture resized to width x height with a smooth filter, each axis on
// its own: where it shrinks, every result pixel is the area-weighted average of the source
// pixels it covers; where it grows, pixel centres are interpolated linearly (edges held).
// An axis that keeps its size is copied. Channels round to the nearest value. An empty
// picture or size gives an empty bitmap.
Bitmap ScaleSmoothly(const Bitmap& picture, int width, int height);

}  // namespace ambrevo::pack
