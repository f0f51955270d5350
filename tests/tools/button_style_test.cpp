#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "pack/cli/commands.h"
#include "pack/common/file_io.h"
#include "pack/pictures/button_painter.h"
#include "pack/pictures/png_codec.h"
#include "pack/pictures/carried_fonts.h"
#include "pack/text/source_names.h"
#include "player_image.h"
#include "source_reading_test.h"

namespace ambrevo::pack {
namespace {

const std::filesystem::path kReference = AMBREVO_STYLED_BUTTONS_DIR;

ButtonLook Look(std::uint32_t top, std::uint32_t bottom, int radius,
                std::optional<std::uint32_t> border, std::uint32_t text, bool bold = false) {
    ButtonLook look;
    look.fillTop = top;
    look.fillBottom = bottom;
    look.radius = radius;
    look.border = border;
    look.text = text;
    look.bold = bold;
    return look;
}

class ButtonStyleTest : public testing::SourceReadingTest {
protected:
    ButtonStyleTest() { folder_.WritePng("bg.png", 300, 200, 0x204060); }

    // The menu's item 1 with the given item keys; its problems and warnings as "LINE:
    // message".
    std::vector<std::string> ProblemsOf(const std::string& itemKeys) {
        diagnostics_ = Diagnostics();
        ReadOne("background = \"bg.png\"\n[[item]]\n" + itemKeys);
        std::vector<std::string> problems;
        const std::string prefix = File("main.toml") + ":";
        std::vector<std::string> all = Problems();
        for (const Diagnostic& warning : diagnostics_.Warnings()) {
            all.push_back(FormatDiagnostic(warning));  // a refused style warns of nothing more
        }
        for (std::string problem : all) {
            if (problem.rfind(prefix, 0) == 0) problem.erase(0, prefix.size());
            problems.push_back(problem);
        }
        return problems;
    }
};

TEST_F(ButtonStyleTest, RefusesWhatItCannotDrawAtTheLine) {
    struct Case {
        std::string keys;
        std::vector<std::string> problems;
    };
    const std::vector<Case> cases = {
        {"caption = \"Go\"\nsize = [100, 30]\n[item.style]\nfil = \"#ff0000\"\n",
         {"6: unknown key \"style.fil\"; did you mean Style fill (\"style.fill\")?"}},
        {"caption = \"Go\"\n[item.style]\nhighlighted = { fill = \"#ff0000\", glow = 1 }\n",
         {"5: unknown key \"style.highlighted.glow\": no setting has this name here; check its "
          "spelling, or remove it"}},
        {"caption = \"A caption far too long\"\nsize = [100, 30]\nstyle = \"blue\"\n",
         {"3: the caption \"A caption far too long\" at 12 points is 197 pixels wide; the item's "
          "width of 100 leaves 68 between its paddings of 16: make the item larger or the "
          "caption shorter"}},
        {"caption = \"Go\"\nsize = [100, 12]\nstyle = \"blue\"\n",
         {"3: the caption \"Go\" at 12 points is 19 pixels tall; the item is 12: make the item "
          "larger or the caption shorter"}},
        {"caption = \"Go\"\nstyle = \"blu\"\n",
         {"4: Button style (\"style\") must name a ready style, \"blue\", \"green\", \"red\", "
          "\"grey\" or "
          "\"dark\", not \"blu\"; did you mean blue?"}},
        {"caption = \"Go\"\n[item.style]\npreset = \"pink\"\n",
         {"5: Style's ready style (\"style.preset\") must name a ready style, \"blue\", \"green\", "
          "\"red\", \"grey\" "
          "or \"dark\", not \"pink\""}},
        {"kind = \"button\"\ncaption = \"Go\"\nstyle = \"blue\"\n",
         {"5: Button style (\"style\") is for picture items; a button item is drawn by Windows"}},
        {"caption = \"Go\"\nstyle = \"blue\"\n[item.pictures]\nhighlighted = \"bg.png\"\n",
         {"6: Highlighted picture (\"pictures.highlighted\") is drawn by the item's style; leave "
          "it out, or the "
          "style"}},
        {"caption = \"Go\"\n[item.style]\nfill = [\"#ff0000\", \"#00ff00\", \"#0000ff\"]\n",
         {"5: Style fill (\"style.fill\") must be a colour \"#RRGGBB\", or a list of two (top "
          "and bottom of a "
          "gradient)"}},
        {"caption = \"Go\"\n[item.style]\nborder = \"white\"\n",
         {"5: Style border (\"style.border\") must be a colour \"#RRGGBB\" or \"none\""}},
        {"caption = \"Go\"\n[item.style]\nfont = { name = \"Arial\" }\n",
         {"5: Style caption font (\"style.font.name\") must be \"DejaVu Sans\": buttons are drawn "
          "with "
          "the font the "
          "tool carries (or leave it out)"}},
        {"caption = \"Go\"\n[item.style]\npressed = { offset = [0, 17] }\n",
         {"5: Pressed caption offset (\"style.pressed.offset\") must be [x, y] within -16..16"}},
        {"caption = \"Go\"\nsize = [0, 30]\nstyle = \"blue\"\n",
         {"4: a picture item with a style is drawn at its Size (\"size\"), which must be from 1 x "
          "1 to "
          "4096 x 4096 pixels"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProblemsOf(c.keys), c.problems) << c.keys;
    }
}

// The three states drawn for a styled item, as stored: of the item's size, each set
// differing from the normal one where its look differs.
TEST_F(ButtonStyleTest, DrawsTheNormalHighlightedAndPressedPictures) {
    const MenuSource menu = ReadOne(
        "background = \"bg.png\"\n[[item]]\ncaption = \"&Install\"\nposition = [10, 10]\n"
        "size = [200, 44]\n[item.style]\nfill = \"#2a6f97\"\nhighlighted = { fill = "
        "\"#3d8fc0\" }\n[[item]]\ncaption = \"Fits &me\"\nstyle = \"grey\"\n");
    ASSERT_TRUE(diagnostics_.Empty()) << FormatDiagnostic(diagnostics_.All().front());
    const PictureTable& pictures = menu.menu.pictures;
    const auto normal = pictures.Picture(1, 0, 0);
    const auto highlighted = pictures.Picture(1, 1, 0);
    const auto pressed = pictures.Picture(1, 2, 0);
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(highlighted, nullptr);
    ASSERT_NE(pressed, nullptr);
    for (const auto& picture : {normal, highlighted, pressed}) {
        EXPECT_EQ(picture->width, 200);
        EXPECT_EQ(picture->height, 44);
    }
    EXPECT_EQ(normal->At(100, 3), 0x2A6F97u) << "the fill, above the caption";
    EXPECT_EQ(highlighted->At(100, 3), 0x3D8FC0u);
    EXPECT_NE(pressed->At(100, 3), 0x2A6F97u) << "darker than the normal fill";
    EXPECT_EQ(normal->At(0, 0), 0x204060u) << "the background shows in the corner";
    EXPECT_EQ(menu.menu.items[0].shortcutKey, "I");
    EXPECT_EQ(menu.menu.items[0].name, "Install");

    // Sized to its caption: the paddings on both sides, and room above and below.
    const auto fitted = pictures.Picture(2, 0, 0);
    ASSERT_NE(fitted, nullptr);
    const TextExtent extent = CarriedTextPainter().Measure(
        "Fits &me", CaptionBox(Look(0, 0, 0, std::nullopt, 0, true), 0, 0));
    EXPECT_EQ(fitted->width, extent.width + 2 * kButtonPadding);
    EXPECT_EQ(fitted->height, std::max<std::int64_t>(32, extent.height + 16));
    EXPECT_EQ(menu.menu.items[1].width, fitted->width);
    EXPECT_EQ(menu.menu.items[1].shortcutKey, "m");
}

struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

// The shape before it is composed: clear outside the rounded corners, opaque inside, the
// border on its edge, and the caption's ink only between the paddings.
TEST_F(ButtonStyleTest, PaintsAClearCorneredShapeWithTheCaptionInside) {
    struct Case {
        const char* name;
        ButtonLook look;
        std::string caption;
    };
    const ButtonLook bordered = Look(0x102030, 0x405060, 10, 0xFFFFFF, 0xFFFF00);
    const ButtonLook square = Look(0x800000, 0x800000, 0, std::nullopt, 0xFFFFFF);
    ButtonLook right = square;
    right.radius = 30;  // more than half the height: drawn as half
    right.alignment = static_cast<std::int32_t>(TextAlignment::RightJustify);
    right.offset = {3, 2};
    const std::vector<Case> cases = {
        {"bordered", bordered, "W&ide caption"},
        {"square", square, "M"},
        {"right, round", right, "&Gg"},
    };
    constexpr int kWidth = 180;
    constexpr int kHeight = 40;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PngPicture drawn =
            PaintButton(c.look, kWidth, kHeight, c.caption, CarriedTextPainter());
        const PngPicture plain = PaintButton(c.look, kWidth, kHeight, "", CarriedTextPainter());
        const auto alpha = [&](int x, int y) { return drawn.alpha[y * kWidth + x]; };
        const bool round = c.look.radius > 0;
        for (auto [x, y] :
             {std::pair{0, 0}, {kWidth - 1, 0}, {0, kHeight - 1}, {kWidth - 1, kHeight - 1}}) {
            EXPECT_EQ(alpha(x, y), round ? 0 : 255) << x << ", " << y;
        }
        EXPECT_EQ(alpha(kWidth / 2, 0), 255);
        EXPECT_EQ(alpha(0, kHeight / 2), 255);
        if (c.look.border) {
            EXPECT_EQ(drawn.bitmap->At(kWidth / 2, 0), *c.look.border);
            EXPECT_NE(drawn.bitmap->At(kWidth / 2, 1), *c.look.border);
        } else {
            EXPECT_EQ(drawn.bitmap->At(kWidth / 2, 0), c.look.fillTop);
            EXPECT_EQ(drawn.bitmap->At(kWidth / 2, kHeight - 1), c.look.fillBottom);
        }
        if (c.look.fillTop != c.look.fillBottom) {
            EXPECT_NE(drawn.bitmap->At(kWidth / 2, 1), drawn.bitmap->At(kWidth / 2, kHeight - 2))
                << "a gradient";
        }
        Ink ink;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (drawn.bitmap->At(x, y) == plain.bitmap->At(x, y)) continue;
                ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x),
                       std::max(ink.bottom, y)};
            }
        }
        ASSERT_GE(ink.right, 0) << "the caption is drawn";
        EXPECT_GE(ink.left, kButtonPadding + c.look.offset.left - 1);
        EXPECT_LT(ink.right, kWidth - kButtonPadding + c.look.offset.left + 1);
        EXPECT_GT(ink.top, 0);
        EXPECT_LT(ink.bottom, kHeight - 1);
        if (c.look.alignment == static_cast<std::int32_t>(TextAlignment::RightJustify)) {
            EXPECT_GT(ink.left, kWidth / 2);
        }
    }
}

// For denser screens the button is drawn again at the density's size, every length of its
// look scaled, and composed over the background there; its caption's glyphs are drawn at
// the scaled size, not enlarged.
TEST_F(ButtonStyleTest, DrawsEachSetAgainForDenserScreens) {
    ButtonLook look = Look(0, 0, 5, 0xFFFFFF, 0);
    look.points = 11;
    look.offset = {-3, 2};
    const struct {
        const DensityScale& scale;
        int radius, points, left, top, padding, borderWidth;
    } looks[] = {{kDensityScales[0], 8, 17, -5, 3, 24, 2},
                 {kDensityScales[1], 10, 22, -6, 4, 32, 2}};
    for (const auto& c : looks) {
        SCOPED_TRACE(c.scale.suffix);
        const ButtonLook dense = LookAtDensity(look, c.scale);
        EXPECT_EQ(std::tuple(dense.radius, dense.points, dense.offset.left, dense.offset.top,
                             dense.padding, dense.borderWidth),
                  std::tuple(c.radius, c.points, c.left, c.top, c.padding, c.borderWidth));
    }

    const MenuSource menu = ReadOne(
        "background = \"bg.png\"\n[[item]]\ncaption = \"Install\"\nposition = [11, 10]\n"
        "size = [121, 40]\n[item.style]\nfill = \"#2a6f97\"\nborder = \"#ffffff\"\n");
    ASSERT_TRUE(diagnostics_.Empty()) << FormatDiagnostic(diagnostics_.All().front());
    ASSERT_EQ(menu.densityPictures.size(), 6u) << "three sets at two densities";
    // The rows the caption's light ink reaches in the button's middle half, away from the
    // border's rounded corners.
    const auto inkRows = [](const Bitmap& picture) {
        int top = picture.height, bottom = -1;
        for (int y = 3; y < picture.height - 3; ++y) {
            for (int x = picture.width / 4; x < picture.width * 3 / 4; ++x) {
                if ((picture.At(x, y) >> 16) < 0x80) continue;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        return bottom - top + 1;
    };
    const auto normal = menu.menu.pictures.Picture(1, 0, 0);
    for (const DensityPicture& dense : menu.densityPictures) {
        SCOPED_TRACE(std::to_string(dense.percent) + "% set " + std::to_string(dense.set));
        const DensityScale& scale = *DensityOfPercent(dense.percent);
        EXPECT_EQ(dense.record, 1);
        EXPECT_EQ(dense.bitmap->width, VariantSide(121, scale));
        EXPECT_EQ(dense.bitmap->height, VariantSide(40, scale));
        const int middle = dense.bitmap->width / 2;
        EXPECT_EQ(dense.bitmap->At(middle, 1), 0xFFFFFFu) << "a border two pixels wide";
        EXPECT_NE(dense.bitmap->At(middle, 2), 0xFFFFFFu);
        if (dense.set != 0) continue;
        const double ratio = double(inkRows(*dense.bitmap)) / inkRows(*normal);
        EXPECT_NEAR(ratio, double(scale.numerator) / scale.denominator, 0.25);
    }
}

// The reference menu's drawn pictures, pixel for pixel: the Windows tool is held to the
// same files (tests/e2e/styled_buttons_e2e.py).
TEST_F(ButtonStyleTest, DrawsTheReferencePixels) {
    PackageSource package = Read({kReference / "main.toml"});
    ASSERT_TRUE(diagnostics_.Empty()) << FormatDiagnostic(diagnostics_.All().front());
    const PictureTable& pictures = package.menus.at(0).menu.pictures;
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kReference / "expected")) {
        const std::string name = entry.path().filename().string();
        int item = 0;
        char set[16] = {};
        ASSERT_EQ(std::sscanf(name.c_str(), "item%03d_%15[a-z].png", &item, set), 2) << name;
        const int setNumber = *PictureSetNames().Find(set);
        const auto stored = pictures.Picture(item, setNumber, 0);
        ASSERT_NE(stored, nullptr) << name;
        const PngPicture expected = DecodePng(ReadFileBytes(entry.path()));
        EXPECT_EQ(stored->width, expected.bitmap->width) << name;
        EXPECT_TRUE(std::equal(stored->pixels.begin(), stored->pixels.end(),
                               expected.bitmap->pixels.begin(), expected.bitmap->pixels.end()))
            << name;
        ++compared;
    }
    EXPECT_EQ(compared, 9);
}

// build stores the three pictures, list shows them, and extract gives them back as plain
// pictures that build the same program again.
TEST_F(ButtonStyleTest, BuildListAndExtractCarryTheDrawnPictures) {
    folder_.Write("player.exe", testing::BarePlayerImage());
    std::ostringstream out;
    std::ostringstream err;
    const auto build = [&](const std::filesystem::path& source, const std::string& output) {
        return RunBuild({.sources = {source},
                         .player = folder_.Path("player.exe"),
                         .output = folder_.Path(output),
                         .quiet = true},
                        err);
    };
    ASSERT_EQ(build(kReference / "main.toml", "first.exe"), 0) << err.str();
    ASSERT_EQ(RunList(folder_.Path("first.exe"), out, err), 0) << err.str();
    EXPECT_NE(out.str().find("-> \"%setup.exe\" named \"Install\"  [normal 1, highlighted 1, "
                             "pressed 1, @1.5x, @2x]"),
              std::string::npos)
        << out.str();
    ASSERT_EQ(RunExtract(folder_.Path("first.exe"), folder_.Path("out"), std::nullopt, err), 0)
        << err.str();
    const std::vector<std::uint8_t> toml = ReadFileBytes(folder_.Path("out/main.toml"));
    const std::string extracted(toml.begin(), toml.end());
    EXPECT_EQ(extracted.find("style"), std::string::npos) << extracted;
    EXPECT_NE(extracted.find("highlighted = \"main/item001_highlighted.png\""), std::string::npos)
        << extracted;
    ASSERT_EQ(build(folder_.Path("out/package.toml"), "second.exe"), 0) << err.str();
    EXPECT_EQ(ReadFileBytes(folder_.Path("second.exe")), ReadFileBytes(folder_.Path("first.exe")));
}

}  // namespace
}  // namespace ambrevo::pack
