#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "menu/bitmap.h"
#include "png_codec.h"

namespace ambrevo::pack {

// The window shape as stored in a menu: the runs of pixels cut out of the W x H window.
// Text: W and H as four digits each, then per run x1 and x2 as four digits each (x2 is the
// first pixel after the run), with "Y" and a four-digit 1-based row number before the
// first run of every row but row 1.

constexpr int kMaxShapeSide = 9999;

struct ShapeRun {
    int row = 0;  // pixel row, from 0
    int x1 = 0;
    int x2 = 0;  // exclusive
    bool operator==(const ShapeRun&) const = default;
};

struct ShapeRuns {
    int width = 0;
    int height = 0;
    std::vector<ShapeRun> runs;
};

// One flag per pixel, row by row: true = cut out of the window.
using PixelMask = std::vector<bool>;

PixelMask TransparentPixels(const PngPicture& picture);             // alpha below 128
PixelMask PixelsOfColor(const Bitmap& picture, std::uint32_t rgb);  // exactly 0x00RRGGBB

// The run list of a mask. Throws PackError when width or height exceeds kMaxShapeSide.
std::string FormatShapeRuns(int width, int height, const PixelMask& cutOut);

// Reads a run list as the player does; nullopt when a number is not four digits or a run
// is cut short by the end of the text.
std::optional<ShapeRuns> ParseShapeRuns(std::string_view text);

// The mask that the runs cut out of their width x height window.
PixelMask CutOutPixels(const ShapeRuns& shape);

}  // namespace ambrevo::pack
