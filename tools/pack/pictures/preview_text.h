#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "menu/menu_model.h"
#include "graphics/bitmap.h"

namespace ambrevo::pack {

// The font sizes a source may give, in points; a preview of a built menu draws its texts
// at sizes within them too. 0 asks Windows for its default size (a zero font height), which
// a menu may hold, so that every built menu extracts to sources that build again.
constexpr std::int32_t kMinFontPoints = 0;
// The size a preview draws for 0, Windows' default size.
constexpr std::int32_t kPreviewDefaultPoints = 8;
constexpr std::int32_t kMaxFontPoints = 1000;

// Where and how a text is set: a box of the picture, the alignment of its lines, whether
// long lines wrap at spaces, and a font size in points (at 96 dots per inch). The box is
// in 64 bits, so that one placed near the 32-bit limits, or moved from there, cannot
// overflow.
struct TextBox {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int32_t alignment = 0;  // TextAlignment; other values align left
    bool wordWrap = false;
    bool centreVertically = false;
    int points = 8;  // drawn as kMinFontPoints below it and kMaxFontPoints above it
    bool bold = false;
    bool underline = false;
    // Underlines the character after the first "&", the access key, as Windows does.
    bool underlineMnemonic = false;
};

// The room a text takes in whole pixels: its widest line, and its lines' height.
struct TextExtent {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// Texts drawn with a free TrueType font in place of the menu's own fonts, so their size
// and spacing are close to what Windows shows but not the same.
class PreviewTextPainter {
public:
    // From the bytes of a regular and a bold TrueType file; bold may be empty (the
    // regular face is used). No painter for bytes that are no usable font.
    static std::unique_ptr<PreviewTextPainter> FromFonts(std::vector<std::uint8_t> regular,
                                                         std::vector<std::uint8_t> bold);

    ~PreviewTextPainter();
    PreviewTextPainter(const PreviewTextPainter&) = delete;
    PreviewTextPainter& operator=(const PreviewTextPainter&) = delete;

    // Draws the UTF-8 text in colour 0x00RRGGBB into the box, clipped to the box and the
    // picture. "&" marks a mnemonic and is not drawn; "&&" draws "&". Characters the font
    // lacks are drawn as its missing-character box.
    void Draw(Bitmap& picture, const std::string& utf8Text, const TextBox& box,
              std::uint32_t rgb) const;
    // The room Draw gives the text at the box's size and weight, without wrapping.
    TextExtent Measure(const std::string& utf8Text, const TextBox& box) const;

private:
    struct Face;
    const Face& FaceOf(const TextBox& box) const;
    PreviewTextPainter(std::unique_ptr<Face> regular, std::unique_ptr<Face> bold);
    std::unique_ptr<Face> regular_;
    std::unique_ptr<Face> bold_;
};

}  // namespace ambrevo::pack
