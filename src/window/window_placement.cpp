#include "window/window_placement.h"

namespace ambrevo {
namespace {

// Placement 10 divides the free width by this factor, truncating toward zero.
constexpr double kLeftOfCentreDivisor = 1.66;

}  // namespace

ui::Rect PlacementBounds(std::int32_t placement, ui::Size screen, ui::Size window) {
    const int sw = screen.width;
    const int sh = screen.height;
    const int w = window.width;
    const int h = window.height;
    // Integer division truncates toward zero, as the placement rules ask.
    const int leftQuarter = (sw / 2 - w) / 2;
    const int topQuarter = (sh / 2 - h) / 2;
    int left = (sw - w) / 2;
    int top = (sh - h) / 2;
    switch (placement) {
        case 1:
            left = 0;
            top = 0;
            break;
        case 2:
            left = sw - w;
            top = 0;
            break;
        case 3:
            left = 0;
            top = sh - h;
            break;
        case 4:
            left = sw - w;
            top = sh - h;
            break;
        case 5:
            left = leftQuarter;
            top = topQuarter;
            break;
        case 6:
            left = sw / 2 + leftQuarter;
            top = topQuarter;
            break;
        case 7:
            left = leftQuarter;
            top = sh / 2 + topQuarter;
            break;
        case 8:
            left = sw / 2 + leftQuarter;
            top = sh / 2 + topQuarter;
            break;
        case 9:
            left = (sw - w) / 3;
            top = topQuarter;
            break;
        case 10:
            left = static_cast<int>((sw - w) / kLeftOfCentreDivisor);
            top = topQuarter;
            break;
        default:
            break;
    }
    return {left, top, w, h};
}

ui::Rect ClampToScreen(ui::Rect bounds, ui::Size screen) {
    if (bounds.left < 0) bounds.left = 0;
    if (bounds.top < 0) bounds.top = 0;
    if (bounds.left + bounds.width > screen.width) bounds.left = screen.width - bounds.width;
    if (bounds.top + bounds.height > screen.height) bounds.top = screen.height - bounds.height;
    return bounds;
}

ui::Rect PlaceWindow(std::int32_t placement, ui::Size screen, ui::Size window) {
    return ClampToScreen(PlacementBounds(placement, screen, window), screen);
}

}  // namespace ambrevo
