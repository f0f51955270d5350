#include "backends/win32/widgetset/bitmap_cache.h"

#include <cstring>

namespace ambrevo::win32 {

UniqueBitmap MakeDib(const Bitmap& bitmap) {
    if (bitmap.Empty()) return {};
    const std::size_t count =
        static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height);
    if (bitmap.pixels.size() < count) return {};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bitmap.width;
    info.bmiHeader.biHeight = -bitmap.height;  // negative: rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return {};
    // 0x00RRGGBB values lie in memory as the blue, green, red, unused bytes of a DIB pixel.
    std::memcpy(bits, bitmap.pixels.data(), count * sizeof(std::uint32_t));
    return dib;
}

HBITMAP BitmapCache::Get(const std::shared_ptr<const Bitmap>& bitmap) {
    if (!bitmap) return nullptr;
    auto found = entries_.find(bitmap.get());
    if (found != entries_.end() && !found->second.owner.expired()) {
        return found->second.dib.Get();
    }
    UniqueBitmap dib = MakeDib(*bitmap);
    if (!dib) return nullptr;
    Entry& entry = entries_[bitmap.get()];
    entry.owner = bitmap;
    entry.dib = std::move(dib);
    return entry.dib.Get();
}

void BitmapCache::ReleaseUnused() {
    std::erase_if(entries_, [](const auto& entry) { return entry.second.owner.expired(); });
}

}  // namespace ambrevo::win32
