#pragma once

#include <windows.h>

#include "backends/win32/widgetset/bitmap_cache.h"
#include "backends/win32/widgetset/font_cache.h"
#include "graphics/display_scale.h"
#include "ui/form.h"

namespace ambrevo::win32 {

// The Win32 rectangle of the same pixels.
inline RECT ToRect(const ui::Rect& bounds) {
    return {bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
}

// Paints the part area of a form's client area: the form's colour, then its visible
// windowless controls (labels and pictures) from back to front. Everything is drawn into
// one memory bitmap that is copied to target at the end, so nothing flickers. area is in
// device pixels; the controls' bounds are converted by scale, texts are drawn with fonts
// made at the scale's size and pictures are stretched smoothly.
class ControlPainter {
public:
    ControlPainter(FontCache& fonts, BitmapCache& bitmaps) : fonts_(fonts), bitmaps_(bitmaps) {}

    void Paint(HDC target, const RECT& area, const ui::Form& form, const ui::DisplayScale& scale);

private:
    void PaintOffscreen(HDC dc, const RECT& area, const ui::Form& form,
                        const ui::DisplayScale& scale);
    void PaintPicture(HDC dc, HDC source, const ui::Picture& picture,
                      const ui::DisplayScale& scale);
    void PaintLabel(HDC dc, const ui::Label& label, const ui::DisplayScale& scale);

    FontCache& fonts_;
    BitmapCache& bitmaps_;
};

}  // namespace ambrevo::win32
