#include "window/window_shape.h"

#include "menu/shape_runs.h"

namespace ambrevo {

std::optional<ui::Region> BuildShapeRegion(std::string_view text) {
    const std::optional<ShapeRuns> shape = ParseShapeRuns(text);
    if (!shape) return std::nullopt;
    ui::Region region{{0, 0, shape->width, shape->height}, {}};
    region.cutouts.reserve(shape->runs.size());
    for (const ShapeRun& run : shape->runs) {
        if (run.x2 <= run.x1) continue;  // an empty run cuts nothing
        region.cutouts.push_back({run.x1, run.row, run.x2 - run.x1, 1});
    }
    return region;
}

}  // namespace ambrevo
