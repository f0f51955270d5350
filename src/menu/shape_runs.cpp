#include "menu/shape_runs.h"

#include <cstddef>

namespace ambrevo {
namespace {

constexpr std::size_t kNumberWidth = 4;

std::optional<int> FourDigitsAt(std::string_view text, std::size_t at) {
    if (at + kNumberWidth > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + kNumberWidth; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::optional<ShapeRuns> ParseShapeRuns(std::string_view text) {
    const std::optional<int> width = FourDigitsAt(text, 0);
    const std::optional<int> height = FourDigitsAt(text, kNumberWidth);
    if (!width || !height) return std::nullopt;
    ShapeRuns shape{*width, *height, {}};
    int row = 1;
    // The loop runs while the 1-based position (at + 1) is below the length.
    for (std::size_t at = 2 * kNumberWidth; at + 1 < text.size();) {
        if (text[at] == 'Y') {
            const std::optional<int> marked = FourDigitsAt(text, at + 1);
            if (!marked) return std::nullopt;
            row = *marked;
            at += 1 + kNumberWidth;
        }
        const std::optional<int> x1 = FourDigitsAt(text, at);
        const std::optional<int> x2 = FourDigitsAt(text, at + kNumberWidth);
        if (!x1 || !x2) return std::nullopt;
        shape.runs.push_back({row - 1, *x1, *x2});
        at += 2 * kNumberWidth;
    }
    return shape;
}

}  // namespace ambrevo
