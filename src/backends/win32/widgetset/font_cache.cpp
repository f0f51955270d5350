#include "backends/win32/widgetset/font_cache.h"

#include "backends/win32/system/wide_text.h"

namespace ambrevo::win32 {
namespace {

// Windows are not scaled: a point is 96/72 pixels; a negative height asks for the
// character height rather than the cell height.
constexpr int kPixelsPerInch = 96;
constexpr int kPointsPerInch = 72;

UniqueFont MakeFont(const ui::Font& font) {
    return UniqueFont(::CreateFontW(-::MulDiv(font.size, kPixelsPerInch, kPointsPerInch), 0, 0, 0,
                                    font.bold ? FW_BOLD : FW_NORMAL, font.italic, font.underline,
                                    FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                    Widen(font.face).c_str()));
}

}  // namespace

HFONT FontCache::Get(const ui::Font& font) {
    Key key{font.face, font.size, font.bold, font.italic, font.underline};
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        UniqueFont made = MakeFont(font);
        if (!made) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        found = fonts_.emplace(std::move(key), std::move(made)).first;
    }
    return found->second.Get();
}

}  // namespace ambrevo::win32
