#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "backends/win32/system/unique_handle.h"
#include "graphics/display_scale.h"
#include "ui/font.h"

namespace ambrevo::win32 {

// One HFONT per distinct face, size and style (the colour is drawn, not part of a font).
// The fonts live as long as the cache, so windows may keep using them.
class FontCache {
public:
    // The font at the scale's size (its points at scale.Dpi() pixels per inch); the system's
    // GUI font when this one cannot be made.
    HFONT Get(const ui::Font& font, const ui::DisplayScale& scale = {});
    std::size_t Size() const { return fonts_.size(); }

private:
    using Key = std::tuple<std::string, int, bool, bool, bool>;  // the height in pixels
    std::map<Key, UniqueFont> fonts_;
};

}  // namespace ambrevo::win32
