#include "backends/win32/widgetset/font_cache.h"

#include "backends/win32/system/wide_text.h"

namespace ambrevo::win32 {
namespace {

constexpr int kPointsPerInch = 72;

// A negative height asks for the character height rather than the cell height.
int HeightOf(const ui::Font& font, const ui::DisplayScale& scale) {
    return -::MulDiv(font.size, scale.Dpi(), kPointsPerInch);
}

UniqueFont MakeFont(const ui::Font& font, int height) {
    return UniqueFont(::CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                                    font.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_DONTCARE, Widen(font.face).c_str()));
}

}  // namespace

HFONT FontCache::Get(const ui::Font& font, const ui::DisplayScale& scale) {
    const int height = HeightOf(font, scale);
    Key key{font.face, height, font.bold, font.italic, font.underline};
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        UniqueFont made = MakeFont(font, height);
        if (!made) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        found = fonts_.emplace(std::move(key), std::move(made)).first;
    }
    return found->second.Get();
}

}  // namespace ambrevo::win32
