#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace ambrevo {

// The window shape a menu stores as text: the runs of pixels cut out of a W x H window.
// W and H are four digits each; then per run x1 and x2, four digits each (x2 is the first
// pixel after the run), with "Y" and a four-digit 1-based row number before a run that
// starts a new row. Runs before any "Y" belong to row 1.

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

// Reads a run list. A single character left at the end is never read; nullopt when a
// number is not four digits or a run is cut short by the end of the text, since such a
// shape cannot be trusted and the window keeps its plain rectangle instead.
std::optional<ShapeRuns> ParseShapeRuns(std::string_view text);

}  // namespace ambrevo
