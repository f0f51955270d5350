#pragma once

#include <windows.h>

#include <memory>

#include "graphics/bitmap.h"

namespace ambrevo::win32 {

// The icon drawn at 32 x 32 over the colour of forms, as a picture; null when it cannot be
// drawn.
std::shared_ptr<const Bitmap> DrawIconImage(HICON icon);

}  // namespace ambrevo::win32
