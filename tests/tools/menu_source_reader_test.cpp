#include "pack/source/menu_source_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_debug_output.h"
#include "menu/menu_rules.h"
#include "model_fields.h"
#include "pack/common/file_io.h"
#include "pack/source/package_source.h"
#include "pack/source/source_defaults.h"
#include "source_folder.h"
#include "source_reading_test.h"

namespace ambrevo::pack {
namespace {

using testing::FontFields;
using testing::ItemFields;
using testing::SourceFolder;
using testing::WindowFields;

ColorRef IndexColor(int index) {
    ambrevo::testing::FakeDebugOutput debug;
    return QBColor(index, debug);
}

using MenuSourceTest = testing::SourceReadingTest;

TEST_F(MenuSourceTest, ReadsEveryKeyIntoTheModel) {
    folder_.WritePng("bg.png", 3, 2, 0x102030);
    folder_.WritePng("pics/a.png", 2, 1, 0x0000FF);
    folder_.WritePng("pics/b.png", 2, 1, 0x00FF00);
    const MenuSource source = ReadOne(R"(
name = "Start.MNU"
version = 7
title = "Caf\u00e9 \u20ac"
placement = "upper-three-fifths"
background = "bg.png"
initial_item = 2
animation_interval = 40
scroll_title = true

[description]
text = "Pick one"
font = { name = "Verdana", size = 11, bold = true, italic = true }
color = "#112233"
bounds = [-3, 4, 500, 60]
alignment = "center"
picture_position = [11, 12]
shadow_offset = 2
shadow_color = "#778899"

[clock]
show_time = true
show_date = true
color = "#445566"
time_position = [7, 8]
date_position = [9, 10]
time_font = { name = "Courier", size = 12, italic = true }
date_font = { name = "Times", size = 13, underline = true }

[shape]
color = 4
runs = "00030002Y000200000001"

[expiry]
year = 2030
month = 12
day = 31
message = "Expired"

[[item]]
kind = "button"
target = "start.mnu"
parameters = "/s"
description = "First"
caption = "&Go"
shortcut_key = "5"
position = [101, -1]
size = [121, 31]
show = "maximized"
minimize_after_launch = true
exit_after_launch = true
auto_restore = true
animation = "bounce"
font = { name = "Georgia", size = 15, bold = true, color = "#0000FF" }
alignment = "right"
check_viewer = true
viewer_name = "Adobe Acrobat"
viewer_version = "6.0"
viewer_match = "exact"

[item.pictures]
normal = "pics/a.png"
normal_frames = ["pics/b.png", "", "pics/a.png"]
description_frames = ["pics/b.png"]

[[item]]
kind = 2
show = 7
font = { color = 2147483656 }
)");
    ASSERT_EQ(Problems(), std::vector<std::string>{});

    MenuDefinition expected = DefaultMenu();
    expected.title = "Caf\xE9 \x80";
    expected.placement = 10;
    expected.initialItem = 2;
    expected.animationInterval = 40;
    expected.scrollTitle = true;
    expected.defaultDescription = "Pick one";
    expected.descriptionFont = {"Verdana", 11, {true, true, false}};
    expected.descriptionColor = 0x332211;
    expected.descriptionBounds = {-3, 4, 500, 60};
    expected.descriptionAlignment = 2;
    expected.descriptionPicturePosition = {11, 12};
    expected.shadowOffset = 2;
    expected.shadowColor = 0x998877;
    expected.showTime = expected.showDate = true;
    expected.clockColor = 0x665544;
    expected.timePosition = {7, 8};
    expected.datePosition = {9, 10};
    expected.timeFont = {"Courier", 12, {false, true, false}};
    expected.dateFont = {"Times", 13, {false, false, true}};
    expected.shapeColor = static_cast<std::int32_t>(IndexColor(4));
    expected.windowShape = "00030002Y000200000001";
    expected.expiryYear = 2030;
    expected.expiryMonth = 12;
    expected.expiryDay = 31;
    expected.expiryMessage = "Expired";
    EXPECT_EQ(source.entryName, "start.mnu");
    EXPECT_EQ(source.version, 7);
    EXPECT_EQ(WindowFields(source.menu), WindowFields(expected));

    MenuItem first = DefaultItem(7);
    first.kind = 1;
    first.target = "start.mnu";
    first.parameters = "/s";
    first.description = "First";
    first.caption = "&Go";
    first.shortcutKey = "5";
    first.left = 101;
    first.top = -1;
    first.width = 121;
    first.height = 31;
    first.showMode = 1;
    first.minimizeAfterLaunch = first.exitAfterLaunch = first.autoRestore = true;
    first.animationMode = 5;
    first.font = {"Georgia", 15, {true, false, false}};
    first.fontColor = 0xFF0000;
    first.alignment = 1;
    first.checkViewer = 1;
    first.viewerName = "Adobe Acrobat";
    first.viewerVersion = "6.0";
    first.viewerVersionMode = 0;
    MenuItem second = DefaultItem(7);
    second.kind = 2;
    second.showMode = 7;
    second.fontColor = 0x80000008u;
    ASSERT_EQ(source.menu.items.size(), 2u);
    EXPECT_EQ(ItemFields(source.menu.items[0]), ItemFields(first));
    EXPECT_EQ(ItemFields(source.menu.items[1]), ItemFields(second));

    const PictureTable& pictures = source.menu.pictures;
    EXPECT_EQ(pictures.Picture(0, 0, 0)->pixels, Pixels(6, 0x102030));
    EXPECT_EQ(pictures.Picture(1, 0, 0)->pixels, Pixels(2, 0x0000FF));
    EXPECT_EQ(pictures.Picture(1, 0, 1)->pixels, Pixels(2, 0x00FF00));
    EXPECT_FALSE(pictures.HasPicture(1, 0, 2));
    EXPECT_TRUE(pictures.HasPicture(1, 0, 3));
    EXPECT_TRUE(pictures.HasPicture(1, 3, 1));
    EXPECT_FALSE(pictures.HasPicture(1, 3, 0));
    EXPECT_EQ(source.menuTargets.size(), 1u);
}

TEST_F(MenuSourceTest, LeftOutKeysTakeTheDefaults) {
    const MenuSource source = ReadOne("[[item]]\n");
    ASSERT_EQ(Problems(), std::vector<std::string>{});
    EXPECT_EQ(source.entryName, "main.mnu");
    EXPECT_EQ(source.version, 7);
    EXPECT_EQ(WindowFields(source.menu), WindowFields(DefaultMenu()));
    ASSERT_EQ(source.menu.items.size(), 1u);
    EXPECT_EQ(ItemFields(source.menu.items[0]), ItemFields(DefaultItem(7)));
}

TEST_F(MenuSourceTest, Version6ItemsHoldTheVersion6ValuesOfNewerFields) {
    const MenuSource source = ReadOne("version = 6\n[[item]]\ncaption = \"x\"\n");
    ASSERT_EQ(Problems(), std::vector<std::string>{});
    ASSERT_EQ(source.menu.items.size(), 1u);
    const MenuItem& item = source.menu.items[0];
    const MenuItem version6;
    EXPECT_EQ(FontFields(item.font), FontFields(version6.font));
    EXPECT_EQ(item.viewerVersionMode, version6.viewerVersionMode);
    EXPECT_EQ(item.caption, "x");
}

TEST_F(MenuSourceTest, CutsTheShapeFromTheBackground) {
    constexpr std::uint32_t kClear = 0x00FFFFFF;
    constexpr std::uint32_t kRed = 0xFF800000;  // index 4: COLORREF 0x000080
    folder_.WritePng("bg.png", 3, 2, {kClear, 0xFF000000, kRed, 0xFF000000, kRed, kClear});
    struct Case {
        std::string shape;
        std::int32_t shapeColor;
        std::string runs;
    };
    const std::vector<Case> cases = {
        {"", -1, ""},
        {"[shape]\n", static_cast<std::int32_t>(IndexColor(13)),
         "00030002"
         "00000001"
         "Y0002"
         "00020003"},
        {"[shape]\ncut = \"transparent\"\ncolor = 2\n", static_cast<std::int32_t>(IndexColor(2)),
         "00030002"
         "00000001"
         "Y0002"
         "00020003"},
        {"[shape]\ncut = \"color\"\ncolor = 4\n", static_cast<std::int32_t>(IndexColor(4)),
         "00030002"
         "00020003"
         "Y0002"
         "00010002"},
        {"[shape]\ncut = \"color\"\ncolor = 0\n", 0,
         "00030002"
         "00010002"
         "Y0002"
         "00000001"},
        {"[shape]\nruns = \"00030002\"\n", static_cast<std::int32_t>(IndexColor(13)), "00030002"},
        {"[shape]\ncut = \"none\"\nruns = \"anything\"\n", -1, "anything"},
    };
    for (const Case& shape : cases) {
        const MenuSource source = ReadOne("background = \"bg.png\"\n" + shape.shape);
        EXPECT_EQ(Problems(), std::vector<std::string>{}) << shape.shape;
        EXPECT_EQ(source.menu.shapeColor, shape.shapeColor) << shape.shape;
        EXPECT_EQ(source.menu.windowShape, shape.runs) << shape.shape;
    }
}

struct ProblemCase {
    std::string toml;
    std::vector<std::string> problems;  // "line: message"
};

TEST_F(MenuSourceTest, ReportsEveryProblemAtItsLine) {
    folder_.WritePng("a.png", 2, 2, 0x112233);
    folder_.WritePng("b.png", 3, 2, 0x112233);
    folder_.Write("broken.png", "not a picture");
    const std::string items101 = [] {
        std::string text;
        for (int n = 0; n < 101; ++n) text += "[[item]]\n";
        return text;
    }();
    const std::string frames101 = [] {
        std::string text = "[[item]]\npictures = { normal_frames = [";
        for (int n = 0; n < 101; ++n) text += "\"a.png\", ";
        return text + "] }\n";
    }();
    const std::vector<ProblemCase> cases = {
        {"titel = \"x\"\n[clock]\nshow = true\n",
         {"1: unknown key \"titel\"; did you mean Window title (\"title\")?",
          "3: unknown key \"clock.show\": no setting has this name here; check its spelling, or "
          "remove it"}},
        {"title = 5\nscroll_title = \"yes\"\n",
         {"1: Window title (\"title\") must be a text in double quotes: \"...\"",
          "2: Scrolling title (\"scroll_title\") must be true or false, written without quotes"}},
        {"animation_interval = \"40\"\ninitial_item = 1.5\n",
         {"1: Time between animation frames (\"animation_interval\") must be a whole number from "
          "0 to 2147483647, written without quotes",
          "2: Item highlighted at the start (\"initial_item\") must be a whole number from 0 to "
          "100"}},
        {"placement = 11\n",
         {"1: Where the window opens (\"placement\") must be one of \"center\", \"top-left\", "
          "\"top-right\", \"bottom-left\", "
          "\"bottom-right\", \"top-left-quarter\", \"top-right-quarter\", "
          "\"bottom-left-quarter\", \"bottom-right-quarter\", \"upper-third\" or "
          "\"upper-three-fifths\" (or its number 0..10), not 11"}},
        {"[description]\ncolor = \"#12345\"\nshadow_color = 3\n",
         {"2: Description colour (\"description.color\") must be a colour \"#RRGGBB\" such as "
          "\"#FF0000\" for red, not \"#12345\"",
          "3: Shadow colour (\"description.shadow_color\") must be a colour \"#RRGGBB\" such as "
          "\"#FF0000\" for red"}},
        {"version = 8\ninitial_item = 3\n[[item]]\n",
         {"1: Menu format (\"version\") must be a whole number from 6 to 7, not 8",
          "2: \"initial_item\" is 3, but the menu has 1 items"}},
        {"[description]\nfont = { size = -1, weight = 2 }\n",
         {"2: Description font (\"description.font.size\") must be a whole number from 0 to 1000, "
          "not -1",
          "2: unknown key \"description.font.weight\": no setting has this name here; check its "
          "spelling, or remove it"}},
        {"background = \"missing.png\"\n[[item]]\npictures = { normal = \"broken.png\" }\n",
         {"1: picture \"missing.png\" not found",
          "3: picture \"broken.png\" cannot be used: not a readable PNG (the file does not "
          "start with the PNG signature)"}},
        {"[[item]]\n[item.pictures]\nnormal = \"a.png\"\nnormal_frames = [\"a.png\", \"b.png\"]\n",
         {"4: picture \"b.png\" is 3 x 2 pixels, but the set's other pictures are 2 x 2"}},
        {items101, {"101: a menu holds at most 100 items, this one has 101"}},
        {frames101, {"2: \"pictures.normal_frames\" holds 101 frames; a set has at most 100"}},
        {"title = \"\u4e2d\"\n",
         {"1: Window title (\"title\") holds the character U+4E2D, which menu text (Windows-1252) "
          "cannot "
          "hold"}},
        {"version = 6\n[expiry]\nyear = 1\n[[item]]\nviewer_name = \"x\"\n",
         {"2: \"expiry\" needs version 7; this menu is version 6: set version = 7, or remove it",
          "5: Viewer (\"viewer_name\") needs version 7; this menu is version 6: set version = 7, "
          "or remove it"}},
        {"[shape]\ncut = \"color\"\n",
         {"2: cut = \"color\" needs \"color\", the index of the colour to cut"}},
        {"[shape]\ncolor = 16\nruns = \"0003000X\"\n",
         {"2: Colour cut away (\"shape.color\") must be a whole number from 0 to 15, not 16",
          "3: \"runs\" is no run list: four-digit width and height, then four-digit x1 and x2 "
          "per run, \"Y\" and a four-digit row before a new row"}},
        {"[shape]\n", {"1: a shape is cut from the background picture, and there is none"}},
        {"name = \"main.exe\"\n",
         {"1: \"name\" must end in \".mnu\", hold at most 256 bytes, no \"/\" or \"\\\" and no "
          "blanks at either end"}},
        {"[[item]]\nposition = [1]\nsize = [1, -2]\nshow = \"minimized\"\n",
         {"2: Position (\"position\") must be [x, y]: two whole numbers in square brackets",
          "3: Size (\"size\") must be [width, height]: two whole numbers, not negative, in "
          "square brackets",
          "4: Window of a launched program (\"show\") must be one of \"normal\", \"maximized\" or "
          "\"hidden\" (or its number -2147483648..2147483647), not \"minimized\""}},
        {"[[item]]\ntarget = \"other.mnu\"\n[[item]]\ntarget = \"sub/other.mnu\"\n"
         "[[item]]\ntarget = \"MAIN.MNU\"\n[[item]]\ntarget = \"$see other.mnu\"\n",
         {"2: the menu target \"other.mnu\" names no menu of the package"}},
        {"title = \"ok\"\n\ntitle2 = \"x\n",
         {"3: a text here holds a line break or control character; end the text with its quote "
          "on the same line, or write a line break as \\n inside \"...\""}},
        {"title = My menu\n",
         {"1: this value is not understood: write a text in double quotes (\"My menu\"), a switch "
          "as true or false, a number in digits"}},
        {"[[item]]\ntarget = \"%docs\\manual.pdf\"\n",
         {"2: a \"\\\" inside \"...\" starts an escape such as \\n; write \\\\ for a backslash, or "
          "put the text in single quotes: 'C:\\folder'"}},
        {"[[item]]\n[item.pictures]\ntarget = \"play.exe\"\n",
         {"3: unknown key \"pictures.target\": Opens (\"target\") belongs above [item.pictures]; "
          "write it before that line"}},
        {"[clock]\nshow_time = true\n[clock]\n",
         {"3: this table is written twice; write its header once, with all its keys below it"}},
        {"title = \"a\"\ntitle = \"b\"\n",
         {"2: this key is given twice in its table; keep one of them"}},
        {"when = 1979-05-27T25:00:00\n",
         {"1: Error while parsing time: expected hour between 0 to 59 (inclusive), saw 25"}},
    };
    for (const ProblemCase& problem : cases) {
        diagnostics_ = Diagnostics{};
        ReadOne(problem.toml);
        std::vector<std::string> expected;
        for (const std::string& line : problem.problems) {
            expected.push_back(File("main.toml") + ":" + line);
        }
        EXPECT_EQ(Problems(), expected) << problem.toml;
    }
}

TEST_F(MenuSourceTest, ChecksNamesAndTargetsAcrossThePackage) {
    const auto main = folder_.Write("main.toml", "[[item]]\ntarget = \"Help.mnu\"\n");
    const auto help = folder_.Write("sub/help.toml", "[[item]]\ntarget = \"main.mnu\"\n");
    const auto again = folder_.Write("again.toml", "name = \"HELP.mnu\"\n");
    Read({main, help});
    EXPECT_EQ(Problems(), std::vector<std::string>{});

    diagnostics_ = Diagnostics{};
    Read({main, help, again});
    EXPECT_EQ(Problems(), std::vector<std::string>{File("again.toml") +
                                                   ":1: the menu name \"help.mnu\" is already "
                                                   "used by " +
                                                   File("sub/help.toml")});
}

TEST_F(MenuSourceTest, PackageFileListsMenusInOrderWithItsHeader) {
    folder_.Write("menus/first.toml", "title = \"1\"\n");
    folder_.Write("menus/second.toml", "title = \"2\"\n");
    const auto package = folder_.Write("package.toml",
                                       "header_text = \"Disc\"\nheader_byte = 7\n"
                                       "menus = [\"menus/second.toml\", \"menus/first.toml\"]\n");
    const PackageSource source = Read({package});
    ASSERT_EQ(Problems(), std::vector<std::string>{});
    EXPECT_EQ(source.header.text, "Disc");
    EXPECT_EQ(source.header.byte, 7);
    ASSERT_EQ(source.menus.size(), 2u);
    EXPECT_EQ(source.menus[0].entryName, "second.mnu");
    EXPECT_EQ(source.menus[1].entryName, "first.mnu");

    diagnostics_ = Diagnostics{};
    Read({folder_.Write("listing.toml",
                        "menus = [\"menus/first.toml\",\n  \"menus/gone.toml\"]\n")});
    EXPECT_EQ(Problems(),
              std::vector<std::string>{File("listing.toml") +
                                       ":2: menu source \"menus/gone.toml\" not found"});

    diagnostics_ = Diagnostics{};
    Read({package, folder_.Path("menus/first.toml")});
    EXPECT_EQ(Problems(), std::vector<std::string>{File("package.toml") +
                                                   ":3: a package file (with \"menus\") must "
                                                   "be the only source"});
}

}  // namespace
}  // namespace ambrevo::pack
