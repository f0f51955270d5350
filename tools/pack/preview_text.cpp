#include "preview_text.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "text_encoding.h"

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb/stb_truetype.h>

namespace ambrevo::pack {

struct PreviewTextPainter::Face {
    std::vector<std::uint8_t> bytes;  // stb_truetype reads from them while the face lives
    stbtt_fontinfo info{};
};

namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;

struct FontFiles {
    const char* regular;
    const char* bold;
};
constexpr FontFiles kSystemFonts[] = {
    {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
     "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"},
    {"C:\\Windows\\Fonts\\arial.ttf", "C:\\Windows\\Fonts\\arialbd.ttf"},
};

std::vector<std::uint8_t> FileBytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The characters shown: "&" before a character marks it as the mnemonic and is dropped.
std::vector<std::uint32_t> ShownCharacters(const std::string& ansi) {
    std::vector<std::uint32_t> shown;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        if (ansi[i] == '&' && i + 1 < ansi.size()) ++i;
        shown.push_back(AnsiCodePoint(ansi[i]));
    }
    return shown;
}

using Line = std::vector<std::uint32_t>;

class Layout {
public:
    Layout(const stbtt_fontinfo& font, int points)
        : font_(font),
          scale_(stbtt_ScaleForMappingEmToPixels(&font,
                                                 static_cast<float>(points * kPixelsPerPoint))) {
        int descent = 0;
        int lineGap = 0;
        stbtt_GetFontVMetrics(&font, &ascent_, &descent, &lineGap);
        lineHeight_ = static_cast<int>(std::lround((ascent_ - descent) * scale_));
    }

    float Scale() const { return scale_; }
    int Ascent() const { return static_cast<int>(std::lround(ascent_ * scale_)); }
    int LineHeight() const { return lineHeight_; }

    float Advance(std::uint32_t c, std::uint32_t next) const {
        int advance = 0;
        int bearing = 0;
        stbtt_GetCodepointHMetrics(&font_, static_cast<int>(c), &advance, &bearing);
        const int kern = next != 0 ? stbtt_GetCodepointKernAdvance(&font_, static_cast<int>(c),
                                                                   static_cast<int>(next))
                                   : 0;
        return static_cast<float>(advance + kern) * scale_;
    }

    float Width(const Line& line) const {
        float width = 0;
        for (std::size_t i = 0; i < line.size(); ++i) {
            width += Advance(line[i], i + 1 < line.size() ? line[i + 1] : 0);
        }
        return width;
    }

    // Lines end at CR LF, LF or CR; with wrapWidth, also before a word that would not fit.
    // A word longer than the whole width keeps a line of its own.
    std::vector<Line> Lines(const std::vector<std::uint32_t>& text, int wrapWidth) const {
        std::vector<Line> lines(1);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
                lines.emplace_back();
                continue;
            }
            lines.back().push_back(text[i]);
        }
        if (wrapWidth <= 0) return lines;
        std::vector<Line> wrapped;
        for (const Line& line : lines) WrapInto(line, static_cast<float>(wrapWidth), wrapped);
        return wrapped;
    }

private:
    void WrapInto(const Line& line, float width, std::vector<Line>& out) const {
        Line current;
        std::size_t start = 0;
        while (start <= line.size()) {
            const auto space = std::find(line.begin() + static_cast<std::ptrdiff_t>(start),
                                         line.end(), std::uint32_t{' '});
            const Line word(line.begin() + static_cast<std::ptrdiff_t>(start), space);
            Line joined = current;
            if (!joined.empty()) joined.push_back(' ');
            joined.insert(joined.end(), word.begin(), word.end());
            if (!current.empty() && Width(joined) > width) {
                out.push_back(current);
                current = word;
            } else {
                current = std::move(joined);
            }
            start = static_cast<std::size_t>(space - line.begin()) + 1;
        }
        out.push_back(current);
    }

    const stbtt_fontinfo& font_;
    float scale_;
    int ascent_ = 0;
    int lineHeight_ = 0;
};

struct Clip {
    int left, top, right, bottom;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

void Blend(Bitmap& picture, int x, int y, std::uint32_t rgb, int coverage) {
    std::uint32_t& pixel =
        picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                       static_cast<std::size_t>(x)];
    std::uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int from = static_cast<int>((pixel >> shift) & 0xFF);
        const int to = static_cast<int>((rgb >> shift) & 0xFF);
        mixed |= static_cast<std::uint32_t>((to * coverage + from * (255 - coverage) + 127) / 255)
                 << shift;
    }
    pixel = mixed;
}

void DrawGlyph(Bitmap& picture, const Clip& clip, const stbtt_fontinfo& font, float scale,
               std::uint32_t c, float penX, int baseline, std::uint32_t rgb) {
    const int whole = static_cast<int>(std::floor(penX));
    const float shift = penX - static_cast<float>(whole);
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    stbtt_GetCodepointBitmapBoxSubpixel(&font, static_cast<int>(c), scale, scale, shift, 0, &x0,
                                        &y0, &x1, &y1);
    const int width = x1 - x0;
    const int height = y1 - y0;
    if (width <= 0 || height <= 0) return;
    std::vector<unsigned char> coverage(static_cast<std::size_t>(width * height));
    stbtt_MakeCodepointBitmapSubpixel(&font, coverage.data(), width, height, width, scale, scale,
                                      shift, 0, static_cast<int>(c));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int cover = coverage[static_cast<std::size_t>(y * width + x)];
            const int px = whole + x0 + x;
            const int py = baseline + y0 + y;
            if (cover > 0 && clip.Contains(px, py)) Blend(picture, px, py, rgb, cover);
        }
    }
}

}  // namespace

PreviewTextPainter::PreviewTextPainter(std::unique_ptr<Face> regular, std::unique_ptr<Face> bold)
    : regular_(std::move(regular)), bold_(std::move(bold)) {}

PreviewTextPainter::~PreviewTextPainter() = default;

std::unique_ptr<PreviewTextPainter> PreviewTextPainter::FromFonts(std::vector<std::uint8_t> regular,
                                                                  std::vector<std::uint8_t> bold) {
    const auto load = [](std::vector<std::uint8_t> bytes) -> std::unique_ptr<Face> {
        if (bytes.empty()) return nullptr;
        auto face = std::make_unique<Face>();
        face->bytes = std::move(bytes);
        const int offset = stbtt_GetFontOffsetForIndex(face->bytes.data(), 0);
        if (offset < 0 || stbtt_InitFont(&face->info, face->bytes.data(), offset) == 0) {
            return nullptr;
        }
        return face;
    };
    std::unique_ptr<Face> regularFace = load(std::move(regular));
    if (!regularFace) return nullptr;
    return std::unique_ptr<PreviewTextPainter>(
        new PreviewTextPainter(std::move(regularFace), load(std::move(bold))));
}

std::unique_ptr<PreviewTextPainter> PreviewTextPainter::FromSystemFonts() {
    for (const FontFiles& files : kSystemFonts) {
        if (auto painter = FromFonts(FileBytes(files.regular), FileBytes(files.bold))) {
            return painter;
        }
    }
    return nullptr;
}

void PreviewTextPainter::Draw(Bitmap& picture, const std::string& ansiText, const TextBox& box,
                              std::uint32_t rgb) const {
    const Face& face = box.bold && bold_ ? *bold_ : *regular_;
    const Layout layout(face.info, box.points);
    const std::vector<Line> lines =
        layout.Lines(ShownCharacters(ansiText), box.wordWrap ? box.width : 0);
    const Clip clip{std::max(box.left, 0), std::max(box.top, 0),
                    std::min(box.left + box.width, picture.width),
                    std::min(box.top + box.height, picture.height)};
    const int textHeight = layout.LineHeight() * static_cast<int>(lines.size());
    int top = box.centreVertically ? box.top + (box.height - textHeight) / 2 : box.top;
    for (const Line& line : lines) {
        const float width = layout.Width(line);
        float penX = static_cast<float>(box.left);
        if (box.alignment == static_cast<std::int32_t>(TextAlignment::RightJustify)) {
            penX += static_cast<float>(box.width) - width;
        } else if (box.alignment == static_cast<std::int32_t>(TextAlignment::Center)) {
            penX += (static_cast<float>(box.width) - width) / 2;
        }
        const int baseline = top + layout.Ascent();
        if (box.underline) {
            const int end = static_cast<int>(std::lround(penX + width));
            for (int x = static_cast<int>(std::lround(penX)); x < end; ++x) {
                if (clip.Contains(x, baseline + 1)) Blend(picture, x, baseline + 1, rgb, 255);
            }
        }
        for (std::size_t i = 0; i < line.size(); ++i) {
            DrawGlyph(picture, clip, face.info, layout.Scale(), line[i], penX, baseline, rgb);
            penX += layout.Advance(line[i], i + 1 < line.size() ? line[i + 1] : 0);
        }
        top += layout.LineHeight();
    }
}

}  // namespace ambrevo::pack
