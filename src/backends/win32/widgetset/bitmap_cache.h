#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <unordered_map>

#include "backends/win32/system/unique_handle.h"
#include "graphics/bitmap.h"

namespace ambrevo::win32 {

// One device-independent bitmap per Bitmap, made the first time the Bitmap is painted and
// reused for every later paint, so showing a state or frame again copies no pixels. An
// entry remembers its Bitmap weakly: once the Bitmap is gone its DIB is released, and a new
// Bitmap at a recycled address never gets the old pixels.
class BitmapCache {
public:
    // The DIB showing bitmap, made now if needed; null when the bitmap is empty or
    // malformed, or the system has no room for it (the picture is then not drawn).
    HBITMAP Get(const std::shared_ptr<const Bitmap>& bitmap);
    // Releases the DIBs of Bitmaps that no longer exist.
    void ReleaseUnused();
    std::size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        std::weak_ptr<const Bitmap> owner;
        UniqueBitmap dib;
    };

    std::unordered_map<const Bitmap*, Entry> entries_;
};

// A 32-bit top-down DIB section holding the bitmap's pixels; null when it cannot be made.
UniqueBitmap MakeDib(const Bitmap& bitmap);

}  // namespace ambrevo::win32
