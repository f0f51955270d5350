#pragma once

#include "graphics/geometry.h"

namespace ambrevo::ui {

// The factor between a form's menu coordinates (96 pixels per inch, what the logic and the
// menu files use) and the pixels of the screen it shows on (dpi / 96). One rule for every
// conversion, so that what is drawn and what is hit agree:
// - a menu coordinate m lies at device pixel Edge(m) = floor((m * dpi + 48) / 96), the
//   nearest device pixel (halves round up); a rectangle's left and right edges (top and
//   bottom) are converted each, so rectangles that touch in menu coordinates touch on the
//   screen, with no gap and no overlap;
// - a device pixel d belongs to ToMenu(d), the largest m with Edge(m) <= d. A device pixel
//   therefore lies in ToDevice(r) exactly when its menu point lies in r.
// At 96 DPI both are the identity; from 96 DPI up, ToMenu(ToDevice(m)) is m.
class DisplayScale {
public:
    static constexpr int kMenuDpi = 96;

    DisplayScale() = default;
    // Any dpi below 1 (an unknown one) counts as 96.
    explicit DisplayScale(int dpi) : dpi_(dpi > 0 ? dpi : kMenuDpi) {}

    int Dpi() const { return dpi_; }
    bool IsIdentity() const { return dpi_ == kMenuDpi; }

    int ToDevice(int menu) const;
    int ToMenu(int device) const;
    Rect ToDevice(const Rect& rect) const;
    Point ToDevice(Point point) const { return {ToDevice(point.x), ToDevice(point.y)}; }
    Point ToMenu(Point point) const { return {ToMenu(point.x), ToMenu(point.y)}; }

    bool operator==(const DisplayScale&) const = default;

private:
    int dpi_ = kMenuDpi;
};

}  // namespace ambrevo::ui
