#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "menu/shape_runs.h"
#include "pack/pictures/png_codec.h"
#include "graphics/bitmap.h"

namespace ambrevo::pack {

// Computes the window shape a menu stores (see menu/shape_runs.h) from a picture.

constexpr int kMaxShapeSide = 9999;

// One flag per pixel, row by row: true = cut out of the window.
using PixelMask = std::vector<bool>;

PixelMask TransparentPixels(const PngPicture& picture);             // alpha below 128
PixelMask PixelsOfColor(const Bitmap& picture, std::uint32_t rgb);  // exactly 0x00RRGGBB

// The run list of a mask. Throws PackError when width or height exceeds kMaxShapeSide.
std::string FormatShapeRuns(int width, int height, const PixelMask& cutOut);

// The mask that the runs cut out of their width x height window.
PixelMask CutOutPixels(const ShapeRuns& shape);

}  // namespace ambrevo::pack
