#include "pack/source/button_style_reader.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "pack/pictures/button_painter.h"
#include "pack/pictures/carried_fonts.h"
#include "pack/text/close_names.h"
#include "pack/source/menu_keys.h"
#include "pack/source/source_warnings.h"
#include "pack/text/text_encoding.h"
#include "support/ascii.h"
#include "support/utf8.h"

namespace ambrevo::pack {
namespace {

constexpr int kMaxCaptionPoints = 200;
// Larger than any screen, and small enough that drawing one takes little time and memory.
constexpr int kMaxButtonSide = 4096;
// A button sized to its caption keeps this much room above and below it, and is at least
// kFittedMinHeight tall.
constexpr int kFittedVerticalRoom = 8;
constexpr int kFittedMinHeight = 32;
constexpr std::array<PictureSet, 3> kDrawnSets = {PictureSet::Normal, PictureSet::Highlighted,
                                                  PictureSet::Pressed};

ButtonLook ReadyLook(std::uint32_t top, std::uint32_t bottom, std::optional<std::uint32_t> border,
                     std::uint32_t text) {
    ButtonLook look;
    look.fillTop = top;
    look.fillBottom = bottom;
    look.radius = 8;
    look.border = border;
    look.text = text;
    look.points = 12;
    look.bold = true;
    look.alignment = static_cast<std::int32_t>(TextAlignment::Center);
    return look;
}

// The ready styles' looks in the order of ReadyStyleNames; the first is the look of a
// style table without "preset".
const std::vector<ButtonLook>& ReadyLooks() {
    static const std::vector<ButtonLook> looks = {
        ReadyLook(0x2A6F97, 0x1B4965, std::nullopt, 0xFFFFFF),
        ReadyLook(0x43A047, 0x2E7D32, std::nullopt, 0xFFFFFF),
        ReadyLook(0xD9534F, 0xB52B27, std::nullopt, 0xFFFFFF),
        ReadyLook(0xFAFAFA, 0xDDDDDD, 0x9E9E9E, 0x202020),
        ReadyLook(0x484848, 0x262626, 0x6A6A6A, 0xFFFFFF),
    };
    return looks;
}

std::string InQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::optional<ButtonLook> FindReadyStyle(const SourceTable& table, std::string_view key,
                                         const toml::node& node) {
    const auto* text = node.as_string();
    const std::optional<std::int32_t> found =
        text != nullptr ? ReadyStyleNames().Find(text->get()) : std::nullopt;
    if (found) return ReadyLooks().at(static_cast<std::size_t>(*found));
    std::string message =
        table.Named(key) + " must name a ready style, " + ReadyStyleNames().List();
    if (text != nullptr) {
        message += ", not " + InQuotes(text->get());
        if (auto meant = ClosestName(text->get(), ReadyStyleNames().Names())) {
            message += "; did you mean " + *meant + "?";
        }
    }
    table.Report(key, message);
    return std::nullopt;
}

// COLORREF 0x00BBGGRR, as the source reader gives colours, to 0x00RRGGBB.
std::uint32_t RgbOfColorRef(ColorRef color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

// Each channel moved by numerator/denominator of the way towards `to` (0 or 255).
std::uint32_t Toward(std::uint32_t rgb, std::uint32_t to, std::uint32_t numerator,
                     std::uint32_t denominator) {
    std::uint32_t result = 0;
    for (int shift : {16, 8, 0}) {
        const std::uint32_t channel = (rgb >> shift) & 0xFF;
        const std::uint32_t moved = to > channel
                                        ? channel + (to - channel) * numerator / denominator
                                        : channel - (channel - to) * numerator / denominator;
        result |= moved << shift;
    }
    return result;
}

// fill = "#RRGGBB" or ["#RRGGBB"] for one colour, ["#top", "#bottom"] for a gradient.
void ReadFill(SourceTable& table, ButtonLook& look) {
    const toml::node* node = table.Value("fill");
    if (node == nullptr) return;
    std::vector<const toml::node*> colours;
    if (const auto* list = node->as_array()) {
        for (const toml::node& element : *list) colours.push_back(&element);
    } else {
        colours.push_back(node);
    }
    std::vector<std::uint32_t> read;
    for (const toml::node* colour : colours) {
        const auto* text = colour->as_string();
        const std::optional<ColorRef> parsed =
            text != nullptr ? ParseHexColor(text->get()) : std::nullopt;
        if (parsed) read.push_back(RgbOfColorRef(*parsed));
    }
    if (colours.empty() || colours.size() > 2 || read.size() != colours.size()) {
        table.Report("fill", table.Named("fill") +
                                 " must be a colour \"#RRGGBB\", or a list of two (top and "
                                 "bottom of a gradient)");
        return;
    }
    look.fillTop = read.front();
    look.fillBottom = read.back();
}

// border = "#RRGGBB", or "none" for no border.
void ReadBorder(SourceTable& table, ButtonLook& look) {
    const toml::node* node = table.Value("border");
    if (node == nullptr) return;
    const auto* text = node->as_string();
    if (text != nullptr && text->get() == "none") {
        look.border.reset();
        return;
    }
    const std::optional<ColorRef> colour =
        text != nullptr ? ParseHexColor(text->get()) : std::nullopt;
    if (!colour) {
        table.Report("border", table.Named("border") + " must be a colour \"#RRGGBB\" or \"none\"");
        return;
    }
    look.border = RgbOfColorRef(*colour);
}

// font = { name = "DejaVu Sans", size = 12, bold = true }: the tool draws with the font
// it carries, so the name is there to be read, and only that name is taken.
void ReadFont(SourceTable& table, ButtonLook& look) {
    std::optional<SourceTable> font = table.Table("font");
    if (!font) return;
    if (const toml::node* name = font->Value("name")) {
        const auto* text = name->as_string();
        if (text == nullptr || !EqualsIgnoringAsciiCase(text->get(), kCarriedFontName)) {
            font->Report("name", font->Named("name") +
                                     " must be \"DejaVu Sans\": buttons are drawn with the font "
                                     "the tool carries (or leave it out)");
        }
    }
    std::int32_t points = look.points;
    if (font->Integer("size", points, 1, kMaxCaptionPoints)) look.points = points;
    font->Flag("bold", look.bold);
    font->ReportUnknownKeys();
}

// The look keys of a style table or of one of its state tables, over `look`.
void ReadLookKeys(SourceTable& table, ButtonLook& look) {
    ReadFill(table, look);
    std::int32_t radius = look.radius;
    if (table.Integer("radius", radius, 0, kMaxStyleRadius)) look.radius = radius;
    ReadBorder(table, look);
    ColorRef text = 0;
    if (table.Color("text", text)) look.text = RgbOfColorRef(text);
    ReadFont(table, look);
    table.Choice("align", AlignmentNames(), look.alignment);
    Point offset = look.offset;
    if (table.Position("offset", offset)) {
        if (std::abs(offset.left) > kMaxCaptionOffset || std::abs(offset.top) > kMaxCaptionOffset) {
            table.Report("offset", table.Named("offset") + " must be [x, y] within " +
                                       std::to_string(-kMaxCaptionOffset) + ".." +
                                       std::to_string(kMaxCaptionOffset));
        } else {
            look.offset = offset;
        }
    }
}

// A state's look before its own keys: highlighted a little lighter, pressed a little
// darker and moved down and right by a pixel.
ButtonLook DerivedLook(const ButtonLook& base, PictureSet set) {
    ButtonLook look = base;
    if (set == PictureSet::Highlighted) {
        look.fillTop = Toward(base.fillTop, 255, 1, 4);
        look.fillBottom = Toward(base.fillBottom, 255, 1, 4);
    } else if (set == PictureSet::Pressed) {
        look.fillTop = Toward(base.fillTop, 0, 1, 5);
        look.fillBottom = Toward(base.fillBottom, 0, 1, 5);
        look.offset = {1, 1};
    }
    return look;
}

using Looks = std::array<ButtonLook, kDrawnSets.size()>;

std::optional<Looks> ReadLooks(SourceTable& item, const toml::node& style) {
    Looks looks;
    if (style.is_string()) {
        const std::optional<ButtonLook> ready = FindReadyStyle(item, "style", style);
        if (!ready) return std::nullopt;
        for (std::size_t i = 0; i < kDrawnSets.size(); ++i) {
            looks[i] = DerivedLook(*ready, kDrawnSets[i]);
        }
        return looks;
    }
    std::optional<SourceTable> table = item.Table("style");
    if (!table) return std::nullopt;
    ButtonLook base = ReadyLooks().front();
    if (const toml::node* preset = table->Value("preset")) {
        if (auto ready = FindReadyStyle(*table, "preset", *preset)) {
            base = *ready;
        }
    }
    ReadLookKeys(*table, base);
    for (std::size_t i = 0; i < kDrawnSets.size(); ++i) {
        looks[i] = DerivedLook(base, kDrawnSets[i]);
        if (kDrawnSets[i] == PictureSet::Normal) continue;
        const std::string key(*PictureSetNames().NameOf(static_cast<std::int32_t>(kDrawnSets[i])));
        if (std::optional<SourceTable> state = table->Table(key)) {
            ReadLookKeys(*state, looks[i]);
            state->ReportUnknownKeys();
        }
    }
    table->ReportUnknownKeys();
    return looks;
}

// Pictures of the sets the style draws, named in the item's own pictures table.
bool RefuseOwnPictures(SourceTable& item) {
    const toml::node* pictures = item.Value("pictures");
    const toml::table* table = pictures != nullptr ? pictures->as_table() : nullptr;
    if (table == nullptr) return true;
    for (PictureSet set : kDrawnSets) {
        const std::string key(*PictureSetNames().NameOf(static_cast<std::int32_t>(set)));
        for (const std::string& named : {key, key + "_frames"}) {
            if (const toml::node* node = table->get(named)) {
                item.File().Report(LineOf(*node),
                                   KeyInMessage("item.pictures." + named, "pictures." + named) +
                                       " is drawn by the item's style; leave it out, or the "
                                       "style");
                return false;
            }
        }
    }
    return true;
}

// The caption as drawn, "&" marks taken out, and the access key it marks (empty for none).
struct CaptionParts {
    std::string shown;
    std::string accessKey;
};

CaptionParts PartsOf(const std::string& caption) {
    CaptionParts parts;
    for (std::size_t i = 0; i < caption.size();) {
        const bool marker = caption[i] == '&' && i + 1 < caption.size();
        if (marker) ++i;
        const std::size_t start = i;
        NextCodePoint(caption, i);
        const std::string character = caption.substr(start, i - start);
        if (marker && character != "&" && parts.accessKey.empty()) parts.accessKey = character;
        parts.shown += character;
    }
    return parts;
}

// Sizes the item to its caption when the source gives no size; reports a caption that
// does not fit the size given. False when the button cannot be drawn.
bool SizeToCaption(SourceTable& item, const Looks& looks, const std::string& caption,
                   MenuItem& owner) {
    const PreviewTextPainter& text = CarriedTextPainter();
    if (!item.Has("size")) {
        std::int64_t width = 0;
        std::int64_t height = 0;
        for (const ButtonLook& look : looks) {
            const TextExtent extent = text.Measure(caption, CaptionBox(look, 0, 0));
            width = std::max(width, extent.width + 2 * kButtonPadding);
            height = std::max(height, extent.height + 2 * kFittedVerticalRoom);
        }
        owner.width = static_cast<std::int32_t>(std::min<std::int64_t>(width, kMaxButtonSide));
        owner.height = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(height, kFittedMinHeight, kMaxButtonSide));
    }
    if (owner.width <= 0 || owner.height <= 0 || owner.width > kMaxButtonSide ||
        owner.height > kMaxButtonSide) {
        item.Report("size", "a picture item with a style is drawn at its " + item.Named("size") +
                                ", which must be from 1 x 1 to " + std::to_string(kMaxButtonSide) +
                                " x " + std::to_string(kMaxButtonSide) + " pixels");
        return false;
    }
    for (const ButtonLook& look : looks) {
        const TextBox box = CaptionBox(look, owner.width, owner.height);
        const TextExtent extent = text.Measure(caption, box);
        std::string slip;
        if (extent.width > box.width) {
            slip = std::to_string(extent.width) + " pixels wide; the item's width of " +
                   std::to_string(owner.width) + " leaves " + std::to_string(box.width) +
                   " between its paddings of " + std::to_string(kButtonPadding);
        } else if (extent.height > box.height) {
            slip = std::to_string(extent.height) + " pixels tall; the item is " +
                   std::to_string(owner.height);
        }
        if (slip.empty()) continue;
        item.Report("caption", "the caption " + InQuotes(caption) + " at " +
                                   std::to_string(look.points) + " points is " + slip +
                                   ": make the item larger or the caption shorter");
        return false;
    }
    return true;
}

// The access key and the screen readers' name from the caption, unless the source names
// them itself.
void TakeCaptionTexts(const SourceTable& item, const CaptionParts& parts, MenuItem& owner) {
    const auto encoded = [&](const std::string& utf8) -> std::optional<std::string> {
        EncodedText text = EncodeText(utf8, item.CodePage());
        if (text.unencodable) return std::nullopt;  // the caption itself was reported
        return std::move(text.bytes);
    };
    if (!item.Has("shortcut_key") && !parts.accessKey.empty()) {
        if (auto key = encoded(parts.accessKey)) owner.shortcutKey = *key;
    }
    if (!item.Has("name") && !parts.shown.empty()) {
        if (auto name = encoded(parts.shown)) owner.name = *name;
    }
}

}  // namespace

const NameTable& ReadyStyleNames() {
    static const NameTable names = {
        {"blue", 0}, {"green", 1}, {"red", 2}, {"grey", 3}, {"dark", 4},
    };
    return names;
}

bool ReadButtonStyle(SourceTable& item, DensityBackdrops& backdrops, MenuDefinition& menu,
                     std::vector<DensityPicture>& densities, int record) {
    const toml::node* style = item.Value("style");
    if (style == nullptr) return false;
    MenuItem& owner = menu.items.at(static_cast<std::size_t>(record - 1));
    if (owner.kind != static_cast<std::int32_t>(ItemKind::ImgBtn)) {
        item.Report("style", item.Named("style") + " is for picture items; a " +
                                 std::string(*ItemKindNames().NameOf(owner.kind)) +
                                 " item is drawn by Windows");
        return true;
    }
    const std::optional<Looks> looks = ReadLooks(item, *style);
    if (!looks || !RefuseOwnPictures(item)) return true;
    const toml::node* captionNode = item.Value("caption");
    const std::string caption = captionNode != nullptr && captionNode->is_string()
                                    ? captionNode->as_string()->get()
                                    : std::string();
    if (!SizeToCaption(item, *looks, caption, owner)) return true;
    TakeCaptionTexts(item, PartsOf(caption), owner);
    const PictureBackdrop& backdrop = backdrops.Base();
    bool uncovered = false;
    for (std::size_t i = 0; i < kDrawnSets.size(); ++i) {
        const int set = static_cast<int>(kDrawnSets[i]);
        const PngPicture drawn =
            PaintButton((*looks)[i], owner.width, owner.height, caption, CarriedTextPainter());
        ComposedPicture composed = ComposeOverBackdrop(drawn, {owner.left, owner.top}, backdrop);
        uncovered = uncovered || composed.uncovered;
        menu.pictures.StorePicture(record, set, 0, std::move(composed.bitmap));
        for (const DensityScale& scale : kDensityScales) {
            // A background too large at that density gets no variants: the player then
            // enlarges the 1x button, as for any picture without one.
            const PictureBackdrop* dense = backdrops.At(scale);
            if (dense == nullptr) continue;
            const PngPicture drawnDense =
                PaintButton(LookAtDensity((*looks)[i], scale), VariantSide(owner.width, scale),
                            VariantSide(owner.height, scale), caption, CarriedTextPainter());
            const Point at{VariantSide(owner.left, scale), VariantSide(owner.top, scale)};
            densities.push_back({ScalePercent(scale), record, set, 0,
                                 ComposeOverBackdrop(drawnDense, at, *dense).bitmap});
        }
    }
    if (uncovered) {
        item.File().Warn(item.Line("style"),
                         UncoveredPictureWarning("the button its style draws",
                                                 backdrop.background != nullptr, backdrop.color));
    }
    return true;
}

}  // namespace ambrevo::pack
