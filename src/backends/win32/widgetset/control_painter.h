#pragma once

#include <windows.h>

#include "backends/win32/widgetset/bitmap_cache.h"
#include "backends/win32/widgetset/font_cache.h"
#include "ui/form.h"

namespace ambrevo::win32 {

// Paints the part area of a form's client area: the form's colour, then its visible
// windowless controls (labels and pictures) from back to front. Everything is drawn into
// one memory bitmap that is copied to target at the end, so nothing flickers.
class ControlPainter {
public:
    ControlPainter(FontCache& fonts, BitmapCache& bitmaps) : fonts_(fonts), bitmaps_(bitmaps) {}

    void Paint(HDC target, const RECT& area, const ui::Form& form);

private:
    void PaintOffscreen(HDC dc, const RECT& area, const ui::Form& form);
    void PaintPicture(HDC dc, HDC source, const ui::Picture& picture);
    void PaintLabel(HDC dc, const ui::Label& label);

    FontCache& fonts_;
    BitmapCache& bitmaps_;
};

}  // namespace ambrevo::win32
