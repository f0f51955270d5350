#include "backends/win32/widgetset/label_text.h"

#include "backends/win32/system/dc_guards.h"
#include "backends/win32/system/wide_text.h"

namespace ambrevo::win32 {

UINT LabelTextFormat(ui::Alignment alignment, bool wordWrap) {
    UINT format = DT_EXPANDTABS;
    switch (alignment) {
        case ui::Alignment::Left:
            format |= DT_LEFT;
            break;
        case ui::Alignment::Right:
            format |= DT_RIGHT;
            break;
        case ui::Alignment::Center:
            format |= DT_CENTER;
            break;
    }
    if (wordWrap) format |= DT_WORDBREAK;
    return format;
}

ui::Size MeasureLabelText(HDC dc, HFONT font, const std::string& text, int maxWidth) {
    SelectGuard selected(dc, font);
    if (text.empty()) {
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        return {0, static_cast<int>(metrics.tmHeight)};
    }
    const bool wrap = maxWidth > 0;
    RECT area{0, 0, wrap ? maxWidth : 0, 0};
    const std::wstring wide = Widen(text);
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area,
                LabelTextFormat(ui::Alignment::Left, wrap) | DT_CALCRECT);
    return {static_cast<int>(area.right - area.left), static_cast<int>(area.bottom - area.top)};
}

}  // namespace ambrevo::win32
