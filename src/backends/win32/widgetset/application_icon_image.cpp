#include "backends/win32/widgetset/application_icon_image.h"

#include <cstring>

#include "backends/win32/system/dc_guards.h"
#include "backends/win32/widgetset/bitmap_cache.h"

namespace ambrevo::win32 {
namespace {

constexpr int kIconSize = 32;

std::uint32_t PixelOf(COLORREF color) {
    return (static_cast<std::uint32_t>(GetRValue(color)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

}  // namespace

std::shared_ptr<const Bitmap> DrawIconImage(HICON icon) {
    auto image = std::make_shared<Bitmap>();
    image->width = kIconSize;
    image->height = kIconSize;
    image->pixels.assign(kIconSize * kIconSize, PixelOf(::GetSysColor(COLOR_BTNFACE)));

    UniqueBitmap dib = MakeDib(*image);
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dib || !dc) return nullptr;
    {
        SelectGuard selected(dc.Get(), dib.Get());
        if (!::DrawIconEx(dc.Get(), 0, 0, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL)) {
            return nullptr;
        }
    }
    ::GdiFlush();
    DIBSECTION section{};
    if (::GetObjectA(dib.Get(), sizeof section, &section) != sizeof section) return nullptr;
    const auto* bits = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
    for (std::size_t i = 0; i < image->pixels.size(); ++i) image->pixels[i] = bits[i] & 0x00FFFFFF;
    return image;
}

}  // namespace ambrevo::win32
