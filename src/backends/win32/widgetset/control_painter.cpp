#include "backends/win32/widgetset/control_painter.h"

#include <algorithm>
#include <cstdint>

#include "backends/win32/system/dc_guards.h"
#include "backends/win32/system/wide_text.h"
#include "backends/win32/widgetset/label_text.h"

namespace ambrevo::win32 {

namespace {

bool Overlaps(const ui::Rect& bounds, const RECT& area) {
    RECT overlap{};
    const RECT rect = ToRect(bounds);
    return ::IntersectRect(&overlap, &rect, &area) != FALSE;
}

}  // namespace

void ControlPainter::Paint(HDC target, const RECT& area, const ui::Form& form,
                           const ui::DisplayScale& scale) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;

    UniqueMemoryDc buffer(::CreateCompatibleDC(target));
    UniqueBitmap pixels(::CreateCompatibleBitmap(target, width, height));
    if (!buffer || !pixels) {
        // No room for a buffer: paint straight onto the window instead.
        PaintOffscreen(target, area, form, scale);
        return;
    }
    {
        SelectGuard selected(buffer.Get(), pixels.Get());
        // The buffer's pixel 0, 0 is the area's top left; drawing uses client coordinates.
        ::SetViewportOrgEx(buffer.Get(), -area.left, -area.top, nullptr);
        PaintOffscreen(buffer.Get(), area, form, scale);
        ::BitBlt(target, area.left, area.top, width, height, buffer.Get(), area.left, area.top,
                 SRCCOPY);
    }
    // Bitmaps of pictures that are gone are released after each paint.
    bitmaps_.ReleaseUnused();
}

void ControlPainter::PaintOffscreen(HDC dc, const RECT& area, const ui::Form& form,
                                    const ui::DisplayScale& scale) {
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    UniqueMemoryDc source(::CreateCompatibleDC(dc));
    for (const auto& control : form.Controls()) {
        if (!control->Visible() || !Overlaps(scale.ToDevice(control->Bounds()), area)) continue;
        switch (control->Kind()) {
            case ui::ControlKind::Picture:
                if (source)
                    PaintPicture(dc, source.Get(), static_cast<const ui::Picture&>(*control),
                                 scale);
                break;
            case ui::ControlKind::Label:
                PaintLabel(dc, static_cast<const ui::Label&>(*control), scale);
                break;
            case ui::ControlKind::Button:
                break;  // a native window of its own
        }
    }
}

void ControlPainter::PaintPicture(HDC dc, HDC source, const ui::Picture& picture,
                                  const ui::DisplayScale& scale) {
    const auto& image = picture.Image();
    if (!image || image->Empty()) return;
    // On a denser screen the picture drawn for one takes the place of the 1x picture.
    const bool dense =
        !scale.IsIdentity() && picture.DenseImage() && !picture.DenseImage()->Empty();
    const auto& drawn = dense ? picture.DenseImage() : image;
    const HBITMAP dib = bitmaps_.Get(drawn);
    if (!dib) return;
    // The picture shows at its own size, cut off by the control's bounds: the same part of
    // the dense picture.
    const ui::Rect& bounds = picture.Bounds();
    const ui::Rect shown{bounds.left, bounds.top, std::min(bounds.width, image->width),
                         std::min(bounds.height, image->height)};
    const int sourceWidth =
        static_cast<int>(std::int64_t{shown.width} * drawn->width / image->width);
    const int sourceHeight =
        static_cast<int>(std::int64_t{shown.height} * drawn->height / image->height);
    const ui::Rect device = scale.ToDevice(shown);
    SelectGuard selected(source, dib);
    // Scaled with HALFTONE, which averages the source pixels (area averaging when made
    // smaller); its brush origin must be set after the mode. Where the sizes match (always
    // at 96 DPI) the pixels are copied as they are. The DC is this paint's own.
    const bool stretched = device.width != sourceWidth || device.height != sourceHeight;
    ::SetStretchBltMode(dc, stretched ? HALFTONE : COLORONCOLOR);
    if (stretched) ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, device.left, device.top, device.width, device.height, source, 0, 0,
                 sourceWidth, sourceHeight, SRCCOPY);
}

void ControlPainter::PaintLabel(HDC dc, const ui::Label& label, const ui::DisplayScale& scale) {
    RECT rect = ToRect(scale.ToDevice(label.Bounds()));
    if (!label.Transparent()) ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    const std::string& text = label.Caption();
    if (text.empty()) return;
    SelectGuard selected(dc, fonts_.Get(label.Font(), scale));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, label.Font().color);
    const std::wstring wide = Widen(text);
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect,
                LabelTextFormat(label.Alignment(), label.WordWrap()));
}

}  // namespace ambrevo::win32
