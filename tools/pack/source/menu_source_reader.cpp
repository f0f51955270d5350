#include "pack/source/menu_source_reader.h"

#include <limits>
#include <string>

#include "menu/menu_rules.h"
#include "pack/common/file_io.h"
#include "pack/common/silent_debug_output.h"
#include "pack/pictures/picture_composer.h"
#include "pack/pictures/shape_runs.h"
#include "pack/pictures/source_pictures.h"
#include "pack/source/item_source_reader.h"
#include "pack/source/menu_texts.h"
#include "pack/source/source_defaults.h"
#include "pack/source/source_table.h"
#include "pack/source/source_warnings.h"
#include "pack/text/text_encoding.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

constexpr std::size_t kMaxEntryName = 256;
constexpr std::string_view kMenuSuffix = ".mnu";

bool EndsWithMenuSuffix(std::string_view name) {
    return name.size() >= kMenuSuffix.size() &&
           EqualsIgnoringAsciiCase(name.substr(name.size() - kMenuSuffix.size()), kMenuSuffix);
}

// "code_page": the code page the menu's texts are written in and the package declares.
// A value that is no menu code page is reported once, and the texts are then read as
// UTF-8, which holds them all, so that they add no reports of their own.
void ReadCodePage(SourceTable& root, MenuSource& menu) {
    const toml::node* node = root.Value("code_page");
    if (node == nullptr) return;
    menu.codePageLine = root.Line("code_page");
    const auto* number = node->as_integer();
    if (number == nullptr || number->get() < 0 || number->get() > kUtf8CodePage ||
        !IsMenuCodePage(static_cast<std::uint32_t>(number->get()))) {
        std::string given;
        if (number != nullptr) given = ", not " + std::to_string(number->get());
        if (const auto* text = node->as_string()) given = ", not \"" + text->get() + "\"";
        root.Report("code_page", "\"code_page\" must be a Windows code page a menu can use (" +
                                     MenuCodePageList() + "), or 0 for the machine's" + given);
        root.SetCodePage(kUtf8CodePage);
        return;
    }
    menu.codePage = static_cast<std::uint32_t>(number->get());
    root.SetCodePage(menu.codePage);
}

// The first character of the name whose bytes in the code page hold a byte of "A" to "Z"
// that is no letter (a second byte of code page 932, 936, 949 or 950): the player
// lower-cases entry names byte by byte, so it would look up another name.
std::optional<std::uint32_t> CharacterFoldedApart(std::string_view utf8, std::uint32_t codePage) {
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const std::uint32_t codePoint = NextCodePoint(utf8, i);
        if (codePoint < 0x80) continue;
        const std::string bytes = EncodeText(utf8.substr(start, i - start), codePage).bytes;
        if (AsciiLower(bytes) != bytes) return codePoint;
    }
    return std::nullopt;
}

// The entry name is the name in the menu's code page, lower-cased as text (A-Z only).
void ReadEntryName(SourceTable& root, const std::filesystem::path& file, MenuSource& menu) {
    const std::uint32_t codePage = root.CodePage();
    std::string name;
    if (!root.Text("name", name)) {
        if (root.Has("name")) return;
        const std::string stem = AsciiLower(PathToUtf8(file.stem()) + std::string(kMenuSuffix));
        const EncodedText encoded = EncodeText(stem, codePage);
        if (encoded.unencodable || CharacterFoldedApart(stem, codePage)) {
            root.File().Report(0, "the file name cannot be a menu name; set \"name\"");
            return;
        }
        menu.entryName = encoded.bytes;
        return;
    }
    const std::string text = AsciiLower(root.Value("name")->as_string()->get());
    if (const std::optional<std::uint32_t> folded = CharacterFoldedApart(text, codePage)) {
        root.Report("name", "\"name\" holds " + CodePointName(*folded) + ", which " +
                                CodePageName(codePage) +
                                " stores with a byte the player reads as a capital letter; a "
                                "menu name cannot hold it");
        return;
    }
    name = EncodeText(text, codePage).bytes;
    menu.entryNameLine = root.Line("name");
    const bool blankEnds = name.empty() || static_cast<unsigned char>(name.front()) <= ' ' ||
                           static_cast<unsigned char>(name.back()) <= ' ';
    if (blankEnds || name.size() > kMaxEntryName || !EndsWithMenuSuffix(name) ||
        text.find_first_of("/\\") != std::string::npos) {
        root.Report("name",
                    "\"name\" must end in \".mnu\", hold at most 256 bytes, no \"/\" "
                    "or \"\\\" and no blanks at either end");
        return;
    }
    menu.entryName = std::move(name);
}

void ReadDescription(SourceTable& root, MenuDefinition& menu) {
    std::optional<SourceTable> description = root.Table("description");
    if (!description) return;
    description->Text("text", menu.defaultDescription);
    description->Font("font", menu.descriptionFont);
    description->Color("color", menu.descriptionColor);
    description->Rectangle("bounds", menu.descriptionBounds);
    description->Choice("alignment", AlignmentNames(), menu.descriptionAlignment);
    description->Position("picture_position", menu.descriptionPicturePosition);
    description->Integer("shadow_offset", menu.shadowOffset);
    description->Color("shadow_color", menu.shadowColor);
    description->ReportUnknownKeys();
}

void ReadClock(SourceTable& root, MenuDefinition& menu) {
    std::optional<SourceTable> clock = root.Table("clock");
    if (!clock) return;
    clock->Flag("show_time", menu.showTime);
    clock->Flag("show_date", menu.showDate);
    clock->Color("color", menu.clockColor);
    clock->Position("time_position", menu.timePosition);
    clock->Position("date_position", menu.datePosition);
    clock->Font("time_font", menu.timeFont);
    clock->Font("date_font", menu.dateFont);
    clock->ReportUnknownKeys();
}

void ReadExpiry(SourceTable& root, const MenuSource& source, MenuDefinition& menu) {
    std::optional<SourceTable> expiry = root.Table("expiry");
    if (!expiry) return;
    if (source.version < kLatestMenuVersion) {
        root.Report("expiry", Version7Needed(root.Named("expiry")));
        return;
    }
    expiry->Integer("year", menu.expiryYear);
    expiry->Integer("month", menu.expiryMonth);
    expiry->Integer("day", menu.expiryDay);
    expiry->Text("message", menu.expiryMessage);
    expiry->ReportUnknownKeys();
}

// A COLORREF 0x00BBGGRR as a pixel value 0x00RRGGBB.
std::uint32_t PixelOfColor(ColorRef color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

std::uint32_t PixelOfColorIndex(std::int32_t index) {
    SilentDebugOutput debug;
    return PixelOfColor(QBColor(index, debug));
}

// background is null when the source names none, or one that could not be loaded (and
// has been reported).
std::optional<std::string> ComputeShape(SourceTable& shape, std::int32_t cut,
                                        std::int32_t colorIndex, const PngPicture* background,
                                        bool backgroundNamed) {
    if (background == nullptr) {
        if (backgroundNamed) return std::nullopt;
        shape.File().Report(shape.TableLine(),
                            "a shape is cut from the background picture, and there is none");
        return std::nullopt;
    }
    const Bitmap& picture = *background->bitmap;
    if (picture.width > kMaxShapeSide || picture.height > kMaxShapeSide) {
        shape.File().Report(shape.TableLine(), "a shaped window can be at most 9999 x 9999 pixels");
        return std::nullopt;
    }
    const PixelMask mask = cut == kCutColor ? PixelsOfColor(picture, PixelOfColorIndex(colorIndex))
                                            : TransparentPixels(*background);
    return FormatShapeRuns(picture.width, picture.height, mask);
}

// [shape]: cut = "transparent" | "color" | "none", color = index 0..15, runs = literal text.
void ReadShape(SourceTable& root, const PngPicture* background, MenuDefinition& menu) {
    const bool backgroundNamed = root.Has("background");
    std::optional<SourceTable> shape = root.Table("shape");
    if (!shape) return;
    std::int32_t cut = kCutTransparent;
    std::int32_t colorIndex = kDefaultShapeColorIndex;
    std::string runs;
    shape->Choice("cut", ShapeCutNames(), cut);
    const bool colorGiven = shape->Integer("color", colorIndex);
    const bool runsGiven = shape->Text("runs", runs);
    shape->ReportUnknownKeys();
    if (cut == kCutColor && !colorGiven && !shape->Has("color")) {
        shape->Report("cut", "cut = \"color\" needs \"color\", the index of the colour to cut");
        return;
    }
    if (cut == kCutNone) {
        menu.shapeColor = -1;
        menu.windowShape = runs;
        return;
    }
    if (runsGiven) {
        if (!ParseShapeRuns(runs)) {
            shape->Report("runs",
                          "\"runs\" is no run list: four-digit width and height, then "
                          "four-digit x1 and x2 per run, \"Y\" and a four-digit row "
                          "before a new row");
            return;
        }
    } else {
        std::optional<std::string> computed =
            ComputeShape(*shape, cut, colorIndex, background, backgroundNamed);
        if (!computed) return;
        runs = std::move(*computed);
    }
    if (const std::optional<std::string> slip = ShapeSlip(runs)) {
        shape->File().Warn(shape->TableLine(), *slip);
    }
    SilentDebugOutput debug;
    menu.shapeColor = static_cast<std::int32_t>(QBColor(colorIndex, debug));
    menu.windowShape = std::move(runs);
}

void CheckWholeMenu(SourceTable& root, MenuDefinition& menu) {
    const auto itemCount = static_cast<std::int32_t>(menu.items.size());
    if (menu.initialItem > itemCount) {
        root.Report("initial_item", "\"initial_item\" is " + std::to_string(menu.initialItem) +
                                        ", but the menu has " + std::to_string(itemCount) +
                                        " items");
    }
    const int pictures = CountStoredPictures(menu.pictures);
    if (pictures > kMaxPictureRecords) {
        root.File().Report(0, "a menu holds at most " + std::to_string(kMaxPictureRecords) +
                                  " pictures, this one has " + std::to_string(pictures));
    }
}

}  // namespace

bool IsMenuTarget(std::string_view target) {
    if (target.starts_with("%NOPROC%") || target == "*" || target.starts_with("$")) return false;
    return EndsWithMenuSuffix(target) && target.find_first_of("/\\") == std::string_view::npos;
}

MenuSource ReadMenuSource(const toml::table& table, const std::filesystem::path& file,
                          const SourceFile& source, PictureCache& cache) {
    MenuSource menu;
    menu.fileName = source.name;
    menu.menu = DefaultMenu();
    SourceTable root(table, source);
    ReadCodePage(root, menu);
    ReadEntryName(root, file, menu);
    root.Integer("version", menu.version);

    MenuDefinition& def = menu.menu;
    root.Text("title", def.title);
    root.Choice("placement", PlacementNames(), def.placement);
    root.Integer("initial_item", def.initialItem);
    root.Integer("animation_interval", def.animationInterval);
    root.Flag("scroll_title", def.scrollTitle);
    SourcePictures pictures(file.parent_path(), cache, source);
    std::shared_ptr<const PngPicture> background;
    PictureBackdrop backdrop{nullptr, kDefaultBackdropColor};
    std::vector<PictureVariant> backgroundVariants;
    if (const toml::node* node = root.Value("background")) {
        background = pictures.Load(*node, "background", nullptr, &backgroundVariants);
        if (background != nullptr) {
            def.pictures.StorePicture(0, 0, 0, background->bitmap);
            backdrop.background = background->bitmap;
        }
    }
    ColorRef backdropColor = 0;
    if (root.Color("background_color", backdropColor)) backdrop.color = PixelOfColor(backdropColor);
    ReadDescription(root, def);
    ReadClock(root, def);
    ReadShape(root, background.get(), def);
    ReadExpiry(root, menu, def);
    DensityBackdrops backdrops(backdrop);
    for (const PictureVariant& variant : backgroundVariants) {
        backdrops.SetBackgroundVariant(*variant.scale, variant.picture->bitmap);
        menu.densityPictures.push_back(
            {ScalePercent(*variant.scale), 0, 0, 0, variant.picture->bitmap});
    }
    ReadItemSources(root, pictures, backdrops, menu);
    root.ReportUnknownKeys();
    CheckWholeMenu(root, def);
    // A menu written for Western machines reads right on any other when it says so.
    if (!root.Has("code_page") &&
        (!IsAscii(menu.entryName) || !MenuTextsAreAscii(def, menu.version))) {
        menu.codePage = kWindows1252;
    }
    // A background that could not be loaded has been reported already.
    if (!root.Has("background")) WarnAboutEmptyMenu(def, source);
    return menu;
}

}  // namespace ambrevo::pack
