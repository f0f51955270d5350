#include "backends/win32/widgetset/mouse_input.h"

namespace ambrevo::win32 {

HCURSOR CursorOf(ui::Cursor cursor) {
    switch (cursor) {
        case ui::Cursor::HandPoint:
            return ::LoadCursorA(nullptr, IDC_HAND);
        case ui::Cursor::SizeAll:
            return ::LoadCursorA(nullptr, IDC_SIZEALL);
        case ui::Cursor::Default:
            break;
    }
    return ::LoadCursorA(nullptr, IDC_ARROW);
}

POINT PointOf(LPARAM position) {
    return {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
}

ui::MouseButton ButtonOfMessage(UINT message) {
    switch (message) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return ui::MouseButton::Right;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return ui::MouseButton::Middle;
        default:
            return ui::MouseButton::Left;
    }
}

ui::MouseButton ButtonOfKeys(WPARAM keys) {
    if (keys & MK_RBUTTON) return ui::MouseButton::Right;
    if (keys & MK_MBUTTON) return ui::MouseButton::Middle;
    return ui::MouseButton::Left;
}

}  // namespace ambrevo::win32
