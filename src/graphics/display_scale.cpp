#include "graphics/display_scale.h"

namespace ambrevo::ui {
namespace {

// Division by a positive b rounding towards minus infinity: coordinates left of or above a
// window are negative.
int FloorDiv(int a, int b) { return (a >= 0 ? a : a - b + 1) / b; }

}  // namespace

int DisplayScale::ToDevice(int menu) const {
    return FloorDiv(menu * dpi_ + kMenuDpi / 2, kMenuDpi);
}

int DisplayScale::ToMenu(int device) const {
    return FloorDiv(device * kMenuDpi + kMenuDpi / 2 - 1, dpi_);
}

Rect DisplayScale::ToDevice(const Rect& rect) const {
    const int left = ToDevice(rect.left);
    const int top = ToDevice(rect.top);
    return {left, top, ToDevice(rect.left + rect.width) - left,
            ToDevice(rect.top + rect.height) - top};
}

}  // namespace ambrevo::ui
