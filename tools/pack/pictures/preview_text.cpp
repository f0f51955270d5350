#include "pack/pictures/preview_text.h"

#include <algorithm>
#include <cmath>

#include "support/utf8.h"

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

// Set on the shown character that the first "&" marks; Glyph() takes it off.
constexpr std::uint32_t kMnemonicFlag = 0x80000000;

std::uint32_t Glyph(std::uint32_t c) { return c & ~kMnemonicFlag; }

// The characters shown: "&" before a character marks it as the mnemonic and is dropped;
// the first one so marked carries kMnemonicFlag ("&&" shows "&" and marks nothing).
std::vector<std::uint32_t> ShownCharacters(const std::string& utf8) {
    std::vector<std::uint32_t> shown;
    bool marked = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const bool mnemonic = utf8[i] == '&' && i + 1 < utf8.size() && utf8[i + 1] != '&';
        if (utf8[i] == '&' && i + 1 < utf8.size()) ++i;
        const std::uint32_t c = NextCodePoint(utf8, i);
        shown.push_back((c == kInvalidUtf8 ? 0xFFFD : c) |
                        (mnemonic && !marked ? kMnemonicFlag : 0));
        marked = marked || mnemonic;
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
        stbtt_GetCodepointHMetrics(&font_, static_cast<int>(Glyph(c)), &advance, &bearing);
        const int kern = next != 0
                             ? stbtt_GetCodepointKernAdvance(&font_, static_cast<int>(Glyph(c)),
                                                             static_cast<int>(Glyph(next)))
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
    std::vector<Line> Lines(const std::vector<std::uint32_t>& text, std::int64_t wrapWidth) const {
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
    // Each word is measured once, so that a long line wraps in time proportional to its
    // length: settled holds the advances of the line so far but that of its last
    // character, which depends on what follows. They are summed in the order Width sums,
    // so the line measures the same either way.
    void WrapInto(const Line& line, float width, std::vector<Line>& out) const {
        Line current;
        float settled = 0;
        std::size_t start = 0;
        while (start <= line.size()) {
            const auto space = std::find(line.begin() + static_cast<std::ptrdiff_t>(start),
                                         line.end(), std::uint32_t{' '});
            Line more;
            if (!current.empty()) more.push_back(' ');
            more.insert(more.end(), line.begin() + static_cast<std::ptrdiff_t>(start), space);
            if (!current.empty() && WidthWith(current, settled, more) > width) {
                out.push_back(std::move(current));
                current.clear();
                settled = 0;
                more.erase(more.begin());
            }
            for (const std::uint32_t c : more) {
                if (!current.empty()) settled += Advance(current.back(), c);
                current.push_back(c);
            }
            start = static_cast<std::size_t>(space - line.begin()) + 1;
        }
        out.push_back(std::move(current));
    }

    // The width of a line that is not empty, its advances but the last summing to settled,
    // with more after it.
    float WidthWith(const Line& line, float settled, const Line& more) const {
        std::uint32_t last = line.back();
        for (const std::uint32_t c : more) {
            settled += Advance(last, c);
            last = c;
        }
        return settled + Advance(last, 0);
    }

    const stbtt_fontinfo& font_;
    float scale_;
    int ascent_ = 0;
    int lineHeight_ = 0;
};

// The part of a text box inside the picture.
struct Clip {
    int left, top, right, bottom;

    static Clip Of(const TextBox& box, const Bitmap& picture) {
        const auto within = [](std::int64_t value, int end) {
            return static_cast<int>(std::clamp<std::int64_t>(value, 0, end));
        };
        return {within(box.left, picture.width), within(box.top, picture.height),
                within(box.left + box.width, picture.width),
                within(box.top + box.height, picture.height)};
    }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(std::int64_t x, std::int64_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    bool Meets(std::int64_t x, std::int64_t y, int width, int height) const {
        return x < right && x + width > left && y < bottom && y + height > top;
    }
};

// x and y lie inside the picture.
void Blend(Bitmap& picture, std::int64_t x, std::int64_t y, std::uint32_t rgb, int coverage) {
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
               std::uint32_t c, double penX, std::int64_t baseline, std::uint32_t rgb) {
    const double whole = std::floor(penX);
    const auto shift = static_cast<float>(penX - whole);
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    stbtt_GetCodepointBitmapBoxSubpixel(&font, static_cast<int>(c), scale, scale, shift, 0, &x0,
                                        &y0, &x1, &y1);
    const int width = x1 - x0;
    const int height = y1 - y0;
    const std::int64_t left = static_cast<std::int64_t>(whole) + x0;
    const std::int64_t top = baseline + y0;
    if (width <= 0 || height <= 0 || !clip.Meets(left, top, width, height)) return;
    std::vector<unsigned char> coverage(static_cast<std::size_t>(width) *
                                        static_cast<std::size_t>(height));
    stbtt_MakeCodepointBitmapSubpixel(&font, coverage.data(), width, height, width, scale, scale,
                                      shift, 0, static_cast<int>(c));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int cover =
                coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x)];
            if (cover > 0 && clip.Contains(left + x, top + y)) {
                Blend(picture, left + x, top + y, rgb, cover);
            }
        }
    }
}

// A line of one pixel at row y from x = from to x = to, rounded to whole pixels.
void Underline(Bitmap& picture, const Clip& clip, double from, double to, std::int64_t y,
               std::uint32_t rgb) {
    if (!clip.Contains(clip.left, y)) return;
    const auto end = std::min<std::int64_t>(std::llround(to), clip.right);
    for (auto x = std::max<std::int64_t>(std::llround(from), clip.left); x < end; ++x) {
        Blend(picture, x, y, rgb, 255);
    }
}

// The box's size in points: 0 (Windows' default) as kPreviewDefaultPoints, and within the
// sizes the painter draws.
int PointsOf(const TextBox& box) {
    const int points = box.points == 0 ? kPreviewDefaultPoints : box.points;
    return std::clamp(points, kMinFontPoints + 1, kMaxFontPoints);
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

const PreviewTextPainter::Face& PreviewTextPainter::FaceOf(const TextBox& box) const {
    return box.bold && bold_ ? *bold_ : *regular_;
}

TextExtent PreviewTextPainter::Measure(const std::string& utf8Text, const TextBox& box) const {
    const Layout layout(FaceOf(box).info, PointsOf(box));
    const std::vector<Line> lines = layout.Lines(ShownCharacters(utf8Text), 0);
    float widest = 0;
    for (const Line& line : lines) widest = std::max(widest, layout.Width(line));
    return {static_cast<std::int64_t>(std::ceil(widest)),
            std::int64_t{layout.LineHeight()} * static_cast<std::int64_t>(lines.size())};
}

void PreviewTextPainter::Draw(Bitmap& picture, const std::string& utf8Text, const TextBox& box,
                              std::uint32_t rgb) const {
    const Clip clip = Clip::Of(box, picture);
    if (clip.Empty()) return;
    const Face& face = FaceOf(box);
    const Layout layout(face.info, PointsOf(box));
    const std::vector<Line> lines =
        layout.Lines(ShownCharacters(utf8Text), box.wordWrap ? box.width : 0);
    const std::int64_t textHeight =
        std::int64_t{layout.LineHeight()} * static_cast<std::int64_t>(lines.size());
    std::int64_t top = box.centreVertically ? box.top + (box.height - textHeight) / 2 : box.top;
    for (const Line& line : lines) {
        const double width = layout.Width(line);
        auto penX = static_cast<double>(box.left);
        if (box.alignment == static_cast<std::int32_t>(TextAlignment::RightJustify)) {
            penX += static_cast<double>(box.width) - width;
        } else if (box.alignment == static_cast<std::int32_t>(TextAlignment::Center)) {
            penX += (static_cast<double>(box.width) - width) / 2;
        }
        const std::int64_t baseline = top + layout.Ascent();
        if (box.underline) Underline(picture, clip, penX, penX + width, baseline + 1, rgb);
        for (std::size_t i = 0; i < line.size(); ++i) {
            const float advance = layout.Advance(line[i], i + 1 < line.size() ? line[i + 1] : 0);
            DrawGlyph(picture, clip, face.info, layout.Scale(), Glyph(line[i]), penX, baseline,
                      rgb);
            if (box.underlineMnemonic && (line[i] & kMnemonicFlag) != 0) {
                Underline(picture, clip, penX, penX + advance, baseline + 1, rgb);
            }
            penX += advance;
        }
        top += layout.LineHeight();
    }
}

}  // namespace ambrevo::pack
