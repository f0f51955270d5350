#include "pack/preview/menu_preview.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <limits>
#include <sstream>
#include <string>

#include "pack/cli/commands.h"
#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/pictures/png_codec.h"
#include "pack/pictures/carried_fonts.h"
#include "player_image.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

constexpr std::uint32_t kBackground = 0x204060;
constexpr std::uint32_t kNormal = 0x00FF00;
constexpr std::uint32_t kHighlighted = 0xFF0000;
constexpr std::uint32_t kDescriptionPicture = 0x0000FF;

std::shared_ptr<const Bitmap> Solid(int width, int height, std::uint32_t rgb) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->pixels.assign(static_cast<std::size_t>(width * height), rgb);
    return bitmap;
}

MenuItem Item(ItemKind kind, int left, int top, int width = 10, int height = 10) {
    MenuItem item;
    item.kind = static_cast<std::int32_t>(kind);
    item.left = left;
    item.top = top;
    item.width = width;
    item.height = height;
    return item;
}

// A 40 x 30 window: a picture item at 5,5 and one hanging over the left edge, a push
// button at 20,18, a shape that cuts row 0 from x 0 to 3 and keeps only 38 x 29 pixels.
MenuDefinition TestMenu() {
    MenuDefinition menu;
    menu.header.version = 7;
    menu.pictures.StorePicture(0, 0, 0, Solid(40, 30, kBackground));
    menu.items = {Item(ItemKind::ImgBtn, 5, 5), Item(ItemKind::ImgBtn, -4, 20),
                  Item(ItemKind::WinBtn, 20, 18, 12, 8)};
    for (int n : {1, 2}) {
        menu.pictures.StorePicture(n, 0, 0, Solid(6, 6, kNormal));
        menu.pictures.StorePicture(n, 1, 0, Solid(6, 6, kHighlighted));
    }
    menu.pictures.StorePicture(1, 3, 0, Solid(4, 4, kDescriptionPicture));
    menu.descriptionPicturePosition = {30, 2};
    menu.shapeColor = 0;
    menu.windowShape = "0038002900000003";
    return menu;
}

TEST(MenuPreviewTest, DrawsTheWindowAsItOpens) {
    const MenuDefinition menu = TestMenu();
    const struct {
        int highlight;
        int x, y;
        std::uint32_t rgb;
        std::uint8_t alpha;
    } cases[] = {
        {0, 20, 2, kBackground, 255},
        {0, 1, 0, kBackground, 0},    // cut out of row 0
        {0, 3, 0, kBackground, 255},  // the run ends before x 3
        {0, 39, 10, kBackground, 0},  // beyond the shape's width
        {0, 10, 29, kBackground, 0},  // beyond its height
        {0, 5, 5, kNormal, 255},
        {0, 10, 10, kNormal, 255},
        {0, 11, 11, kBackground, 255},
        {1, 5, 5, kHighlighted, 255},
        {2, 5, 5, kNormal, 255},
        {2, 0, 20, kHighlighted, 255},  // the part of item 2 inside the window
        {2, 1, 26, kBackground, 255},
        {99, 5, 5, kNormal, 255},  // no such item: nothing highlighted
        {1, 31, 3, kDescriptionPicture, 255},
        {0, 31, 3, kBackground, 255},  // shown only for its highlighted item
        {2, 31, 3, kBackground, 255},
        {0, 20, 18, 0xADADAD, 255},  // the button's border and face
        {0, 22, 20, 0xE1E1E1, 255},
        {0, 32, 26, kBackground, 255},
    };
    for (const auto& c : cases) {
        const MenuPreview preview = RenderMenuPreview(menu, c.highlight, nullptr);
        ASSERT_EQ(preview.picture.width, 40);
        ASSERT_EQ(preview.picture.height, 30);
        const auto at = static_cast<std::size_t>(c.y * 40 + c.x);
        EXPECT_EQ(preview.picture.pixels[at], c.rgb)
            << "highlight " << c.highlight << " at " << c.x << "," << c.y;
        EXPECT_EQ(preview.alpha[at], c.alpha) << c.x << "," << c.y;
    }
}

TEST(MenuPreviewTest, WithoutBackgroundOrUsableShape) {
    EXPECT_THROW(RenderMenuPreview(MenuDefinition{}, 0, nullptr), PackError);
    MenuDefinition menu = TestMenu();
    menu.windowShape = "0038002900x0";  // a shape that does not parse: the plain rectangle
    const MenuPreview preview = RenderMenuPreview(menu, 0, nullptr);
    EXPECT_EQ(std::count(preview.alpha.begin(), preview.alpha.end(), 255), 40 * 30);
}

// The box covered by text of one primary colour (channel shift 16 red, 8 green, 0 blue)
// drawn on white, its smoothed edges included; empty when there is none.
struct Ink {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
};
Ink InkOf(const Bitmap& picture, int channelShift) {
    Ink ink;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t pixel = picture.At(x, y);
            const std::uint32_t others = pixel & ~(0xFFu << channelShift) & 0xFFFFFF;
            const bool inked = ((pixel >> channelShift) & 0xFF) > 200 && (others & 0xFF) < 200 &&
                               ((others >> 8) & 0xFF) < 200 && ((others >> 16) & 0xFF) < 200;
            if (!inked) continue;
            ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x),
                   std::max(ink.bottom, y)};
        }
    }
    return ink;
}

TEST(MenuPreviewTest, TextsStayInTheirBoxesAlignedAndWrapped) {
    const PreviewTextPainter* painter = &CarriedTextPainter();
    MenuDefinition menu;
    menu.header.version = 7;
    menu.pictures.StorePicture(0, 0, 0, Solid(200, 100, 0xFFFFFF));
    MenuItem right = Item(ItemKind::LblBtn, 100, 0, 90, 20);
    right.caption = "&Right";
    right.alignment = static_cast<std::int32_t>(TextAlignment::RightJustify);
    right.fontColor = 0x0000FF;  // COLORREF red
    MenuItem clipped = Item(ItemKind::LblBtn, 0, 40, 30, 12);
    clipped.caption = "A caption far longer than its box";
    clipped.fontColor = 0x00FF00;
    menu.items = {right, clipped};
    menu.defaultDescription = "several words that wrap onto more lines";
    menu.descriptionBounds = {0, 60, 80, 40};
    menu.descriptionColor = 0xFF0000;  // COLORREF blue
    menu.descriptionFont = {"Arial", 10, {}};

    const MenuPreview preview = RenderMenuPreview(menu, 0, painter);
    const Ink red = InkOf(preview.picture, 16);
    EXPECT_GT(red.left, 140) << "right-aligned";
    EXPECT_LE(red.right, 189);
    EXPECT_GE(red.right, 175);
    const Ink green = InkOf(preview.picture, 8);
    EXPECT_GE(green.right, 20);
    EXPECT_LE(green.right, 29) << "cut at the box";
    EXPECT_LE(green.bottom, 51);
    const Ink blue = InkOf(preview.picture, 0);
    EXPECT_LE(blue.right, 79);
    EXPECT_GE(blue.bottom - blue.top, 30) << "wrapped onto three lines or more";
}

// Texts are read in the menu's code page: the bytes of "Привет" in code page 1251 draw as
// the same text in UTF-8 does, and as other letters when no code page is declared.
TEST(MenuPreviewTest, TextsAreReadInTheMenusCodePage) {
    const PreviewTextPainter* painter = &CarriedTextPainter();
    const auto preview = [&](const std::string& caption, std::uint32_t codePage) {
        MenuDefinition menu;
        menu.header.version = 7;
        menu.pictures.StorePicture(0, 0, 0, Solid(120, 30, 0xFFFFFF));
        MenuItem text = Item(ItemKind::LblBtn, 0, 0, 120, 30);
        text.caption = caption;
        MenuItem button = Item(ItemKind::WinBtn, 60, 0, 60, 30);
        button.caption = caption;
        menu.items = {text, button};
        return RenderMenuPreview(menu, 0, painter, codePage).picture.pixels;
    };
    const std::string cyrillic = "\xCF\xF0\xE8\xE2\xE5\xF2";
    const auto utf8 = preview("\u041F\u0440\u0438\u0432\u0435\u0442", 65001);
    EXPECT_EQ(preview(cyrillic, 1251), utf8);
    EXPECT_NE(preview(cyrillic, 0), utf8);
    EXPECT_EQ(preview(cyrillic, 0), preview("\u00CF\u00F0\u00E8\u00E2\u00E5\u00F2", 65001));
}

// A built menu may hold any 32-bit font size and position: sizes are drawn within what a
// source allows, and boxes beyond the window draw nothing.
TEST(MenuPreviewTest, HostileSizesAndPositionsDrawWithinTheWindow) {
    const PreviewTextPainter* painter = &CarriedTextPainter();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const auto menuWith = [](const std::function<void(MenuDefinition&)>& change) {
        MenuDefinition menu;
        menu.header.version = 7;
        menu.pictures.StorePicture(0, 0, 0, Solid(40, 30, 0xFFFFFF));
        menu.defaultDescription = "I";
        menu.descriptionBounds = {0, 0, 40, 30};
        menu.descriptionFont = {"Arial", 10, {}};
        change(menu);
        return menu;
    };
    const auto item = [](ItemKind kind, int left, int top, int width, int height, int points) {
        MenuItem made = Item(kind, left, top, width, height);
        made.caption = "Wide caption";
        made.font = {"Arial", points, {true, false, true}};
        return made;
    };
    const auto nothingMore = [](MenuDefinition&) {};
    const struct {
        const char* name;
        std::function<void(MenuDefinition&)> change;
        std::function<void(MenuDefinition&)> drawnAs;
        bool inked = false;  // drawnAs shows more than the background
    } cases[] = {
        {"a description font of 85,000 points",
         [](MenuDefinition& m) {
             m.defaultDescription = "IW";
             m.descriptionFont.size = 85000;
             m.descriptionBounds = {-140, -1200, 2000, 2000};  // the foot of a 1000-point I
         },
         [](MenuDefinition& m) {
             m.defaultDescription = "IW";
             m.descriptionFont.size = 1000;
             m.descriptionBounds = {-140, -1200, 2000, 2000};
         },
         true},
        {"a negative font size",
         [&](MenuDefinition& m) { m.items = {item(ItemKind::LblBtn, 0, 0, 40, 30, -40)}; },
         [&](MenuDefinition& m) { m.items = {item(ItemKind::LblBtn, 0, 0, 40, 30, 1)}; }, true},
        {"a shadow moved beyond the 32-bit range", [](MenuDefinition& m) { m.shadowOffset = kMax; },
         nothingMore, true},
        {"a long description in a box wider than any line, shown as far as the window",
         [](MenuDefinition& m) {
             for (int word = 0; word < 100000; ++word) m.defaultDescription += " ab";
             m.descriptionBounds.width = kMax;
         },
         [](MenuDefinition& m) {
             m.defaultDescription += " ab ab ab ab ab ab ab ab ab ab";
             m.descriptionBounds.width = kMax;
         },
         true},
        {"a description box from the far left to the far right",
         [](MenuDefinition& m) {
             m.descriptionBounds = {kMin, kMin, kMax, kMax};
         },
         [](MenuDefinition& m) { m.defaultDescription.clear(); }},
        {"a text item at the far right",
         [&](MenuDefinition& m) { m.items = {item(ItemKind::LblBtn, kMax - 3, 0, kMax, 30, 900)}; },
         nothingMore, true},
        {"push buttons at the far corners",
         [&](MenuDefinition& m) {
             m.items = {item(ItemKind::WinBtn, kMax, kMax, kMax, kMax, 9),
                        item(ItemKind::WinBtn, kMin, kMin, kMin, kMin, 9)};
         },
         nothingMore, true},
        {"picture items at the limits",
         [&](MenuDefinition& m) {
             m.items = {item(ItemKind::ImgBtn, kMax - 2, 0, 10, 10, 9),
                        item(ItemKind::ImgBtn, kMin, kMin, 10, 10, 9)};
             m.pictures.StorePicture(1, 0, 0, Solid(6, 6, kNormal));
             m.pictures.StorePicture(2, 0, 0, Solid(6, 6, kNormal));
         },
         nothingMore, true},
    };
    const Bitmap background = *Solid(40, 30, 0xFFFFFF);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MenuPreview shown = RenderMenuPreview(menuWith(c.change), 0, painter);
        const MenuPreview expected = RenderMenuPreview(menuWith(c.drawnAs), 0, painter);
        EXPECT_EQ(expected.picture.pixels != background.pixels, c.inked);
        EXPECT_EQ(shown.picture.pixels, expected.picture.pixels);
    }
}

const std::filesystem::path kDemo = AMBREVO_DEMO_DIR;
const std::filesystem::path kReference = AMBREVO_PREVIEW_REFERENCE;

// The demo's first menu against a picture checked by eye; text may differ a little with
// the font's version, so a few pixels may differ.
TEST(MenuPreviewTest, DemoMatchesTheReferenceAndTheBuiltDisc) {
    testing::SourceFolder folder;
    std::ostringstream err;
    ASSERT_EQ(RunPreview({kDemo / "package.toml", folder.Path("source.png"), {}, {}}, err), 0)
        << err.str();
    const PngPicture shown = DecodePng(ReadFileBytes(folder.Path("source.png")));
    const PngPicture reference = DecodePng(ReadFileBytes(kReference));
    ASSERT_EQ(shown.bitmap->width, reference.bitmap->width);
    ASSERT_EQ(shown.bitmap->height, reference.bitmap->height);
    EXPECT_EQ(shown.alpha, reference.alpha);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < shown.alpha.size(); ++i) {
        const std::uint32_t a = shown.bitmap->pixels[i];
        const std::uint32_t b = reference.bitmap->pixels[i];
        for (int shift = 0; shift <= 16; shift += 8) {
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                         static_cast<int>((b >> shift) & 0xFF)) > 40) {
                ++differing;
                break;
            }
        }
    }
    EXPECT_LT(differing, shown.alpha.size() / 200) << "pixels that differ";

    folder.Write("player.exe", testing::BarePlayerImage());
    ASSERT_EQ(RunBuild({{kDemo / "package.toml"},
                        folder.Path("player.exe"),
                        folder.Path("setup.exe"),
                        true,
                        std::nullopt,
                        false},
                       err),
              0)
        << err.str();
    ASSERT_EQ(RunPreview({folder.Path("setup.exe"), folder.Path("disc.png"), {}, {}}, err), 0)
        << err.str();
    EXPECT_EQ(ReadFileBytes(folder.Path("disc.png")), ReadFileBytes(folder.Path("source.png")));

    ASSERT_EQ(
        RunPreview({folder.Path("setup.exe"), folder.Path("second.png"), "SECOND.MNU", 0}, err), 0)
        << err.str();
    EXPECT_NE(ReadFileBytes(folder.Path("second.png")), ReadFileBytes(folder.Path("source.png")));
    EXPECT_EQ(RunPreview({folder.Path("setup.exe"), folder.Path("x.png"), "none.mnu", {}}, err), 1);
    EXPECT_NE(err.str().find("error: the package holds no menu \"none.mnu\""), std::string::npos);
}

}  // namespace
}  // namespace ambrevo::pack
