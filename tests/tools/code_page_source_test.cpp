#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/package/built_package.h"
#include "pack/package/package_builder.h"
#include "pack/source/package_source.h"
#include "source_folder.h"
#include "source_reading_test.h"
#include "support/byte_builder.h"
#include "support/menu_code_pages.h"

namespace ambrevo::pack {
namespace {

using ambrevo::testing::ByteBuilder;
using testing::SourceFolder;

constexpr std::uint8_t kStandInPlayer[] = {'M', 'Z'};

// Each read starts with no problems found.
class CodePageSourceTest : public testing::SourceReadingTest {
protected:
    PackageSource Read(const std::vector<std::filesystem::path>& sources) {
        diagnostics_ = {};
        return SourceReadingTest::Read(sources);
    }
    MenuSource ReadOne(const std::string& toml) {
        diagnostics_ = {};
        return SourceReadingTest::ReadOne(toml);
    }
};

// What each source declares, and the bytes of its title.
TEST_F(CodePageSourceTest, DeclaresTheMenusCodePage) {
    const struct {
        std::string toml;
        std::uint32_t declared;
        std::string title;
    } cases[] = {
        // All ASCII and no key: nothing declared, the bytes of before.
        {"title = \"Plain\"\n", kSystemCodePage, "Plain"},
        // Not all ASCII: Windows-1252, declared so that it reads right on any machine.
        {"title = \"Caf\u00E9\"\n", kWindows1252, "Caf\xE9"},
        {"[[item]]\ncaption = \"\u00A9\"\n", kWindows1252, ""},
        {"name = \"caf\u00E9.mnu\"\n", kWindows1252, ""},
        // 0: the machine's code page, nothing declared, Windows-1252 bytes.
        {"code_page = 0\ntitle = \"Caf\u00E9\"\n", kSystemCodePage, "Caf\xE9"},
        {"code_page = 1252\ntitle = \"Plain\"\n", kWindows1252, "Plain"},
        {"code_page = 1251\ntitle = \"\u041F\u0440\u0438\u0432\u0435\u0442\"\n", 1251,
         "\xCF\xF0\xE8\xE2\xE5\xF2"},
        {"code_page = 1253\ntitle = \"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1\"\n", 1253,
         "\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1"},
        {"code_page = 932\ntitle = \"\u30E1\u30CB\u30E5\u30FC\"\n", 932,
         "\x83\x81\x83\x6A\x83\x85\x81\x5B"},
        {"code_page = 65001\ntitle = \"\u30E1\u00E9\"\n", 65001, "\u30E1\u00E9"},
        {"code_page = 949\ntitle = \"Plain\"\n", 949, "Plain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.toml);
        const MenuSource menu = ReadOne(c.toml);
        EXPECT_EQ(Problems(), std::vector<std::string>{});
        EXPECT_EQ(menu.codePage, c.declared);
        EXPECT_EQ(menu.menu.title, c.title);
    }
}

// Every text of the menu is written in its code page, the entry name too.
TEST_F(CodePageSourceTest, EveryTextIsInTheMenusCodePage) {
    const std::string me = "\u30E1";  // メ
    const std::string meBytes = "\x83\x81";
    const MenuSource menu = ReadOne(R"(
code_page = 932
name = "メ.mnu"
title = "メ"
[description]
text = "メ"
font = { name = "メ" }
[clock]
time_font = { name = "メ" }
date_font = { name = "メ" }
[shape]
cut = "none"
runs = "メ"
[expiry]
message = "メ"
[[item]]
kind = "text"
target = "メ.exe"
parameters = "メ"
description = "メ"
caption = "メ"
shortcut_key = "メ"
font = { name = "メ" }
viewer_name = "メ"
viewer_version = "メ"
)");
    ASSERT_EQ(Problems(), std::vector<std::string>{});
    EXPECT_EQ(menu.entryName, meBytes + ".mnu");
    const MenuDefinition& def = menu.menu;
    const MenuItem& item = def.items.at(0);
    const struct {
        const char* key;
        const std::string& bytes;
    } texts[] = {
        {"title", def.title},
        {"description.text", def.defaultDescription},
        {"description.font.name", def.descriptionFont.name},
        {"clock.time_font.name", def.timeFont.name},
        {"clock.date_font.name", def.dateFont.name},
        {"shape.runs", def.windowShape},
        {"expiry.message", def.expiryMessage},
        {"parameters", item.parameters},
        {"description", item.description},
        {"caption", item.caption},
        {"shortcut_key", item.shortcutKey},
        {"font.name", item.font.name},
        {"viewer_name", item.viewerName},
        {"viewer_version", item.viewerVersion},
    };
    for (const auto& text : texts) EXPECT_EQ(text.bytes, meBytes) << text.key;
    EXPECT_EQ(item.target, meBytes + ".exe");
}

TEST_F(CodePageSourceTest, RefusesWithFileAndLine) {
    const std::string file = File("main.toml");
    const std::string notMenu =
        "\"code_page\" must be a Windows code page a menu can use (874, 932, 936, 949, 950, "
        "1250 to 1258 or 65001), or 0 for the machine's";
    const struct {
        std::string toml;
        std::string problem;
    } cases[] = {
        {"\ncode_page = 437\n", ":2: " + notMenu + ", not 437"},
        {"code_page = -1\n", ":1: " + notMenu + ", not -1"},
        {"code_page = 4294968548\n", ":1: " + notMenu + ", not 4294968548"},
        {"code_page = \"1251\"\n", ":1: " + notMenu + ", not \"1251\""},
        {"code_page = 1251.0\n", ":1: " + notMenu},
        // Without a code page the message of before; an unknown one adds no text errors.
        {"title = \"\u041F\"\n",
         ":1: Window title (\"title\") holds the character U+041F, which menu text (Windows-1252) "
         "cannot "
         "hold"},
        {"code_page = 1215\ntitle = \"\u041F\"\n", ":1: " + notMenu + ", not 1215"},
        {"code_page = 1251\n\n[[item]]\ncaption = \"Caf\u00E9\"\n",
         ":4: Caption (\"caption\") holds the character U+00E9, which menu text (code page 1251) "
         "cannot "
         "hold"},
        {"code_page = 1253\n[description]\nfont = { name = \"\u041F\" }\n",
         ":3: Description font (\"description.font.name\") holds the character U+041F, which menu "
         "text (code page "
         "1253) cannot hold"},
        // CP932 writes the yen sign as "\" one way only: refused, not made a backslash.
        {"code_page = 932\ntitle = \"\u00A5100\"\n",
         ":2: Window title (\"title\") holds the character U+00A5, which menu text (code page 932) "
         "cannot "
         "hold"},
        {"code_page = 936\n[expiry]\nmessage = \"\uBA54\"\n",
         ":3: Expiry notice (\"expiry.message\") holds the character U+BA54, which menu text (code "
         "page 936) "
         "cannot "
         "hold"},
        {"code_page = 874\n[[item]]\nviewer_name = \"\u00E9\"\n",
         ":3: Viewer (\"viewer_name\") holds the character U+00E9, which menu text (code page 874) "
         "cannot hold"},
        // The second byte of "ア" in code page 932 is "A", which the player would lower.
        {"code_page = 932\nname = \"\u30A2.mnu\"\n",
         ":2: \"name\" holds the character U+30A2, which code page 932 stores with a byte the "
         "player reads as a capital letter; a menu name cannot hold it"},
        {"code_page = 1251\nname = \"\u00E9.mnu\"\n",
         ":2: Menu name (\"name\") holds the character U+00E9, which menu text (code page 1251) "
         "cannot "
         "hold"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.toml);
        ReadOne(c.toml);
        EXPECT_EQ(Problems(), std::vector<std::string>{file + c.problem});
    }
}

// A menu file whose name its code page cannot hold needs "name".
TEST_F(CodePageSourceTest, FileNamesBecomeNamesInTheMenusCodePage) {
    const auto read = [&](const std::string& fileName, const std::string& toml) {
        return Read({folder_.Write(fileName, toml)}).menus.front();
    };
    EXPECT_EQ(read("\u041C\u0435\u043D\u044E.toml", "code_page = 1251\n").entryName,
              "\xCC\xE5\xED\xFE.mnu");
    EXPECT_EQ(Problems(), std::vector<std::string>{});
    EXPECT_EQ(read("Caf\u00E9.toml", "").codePage, kWindows1252);
    read("\u041C.toml", "");
    EXPECT_EQ(Problems(), std::vector<std::string>{File("\u041C.toml") +
                                                   ": the file name cannot be a menu name; "
                                                   "set \"name\""});
}

// Menus switch to each other by the bytes of the name: a name of another code page is
// other bytes, and is reported as naming no menu.
TEST_F(CodePageSourceTest, TargetsNameMenusByTheirBytes) {
    folder_.Write("ru.toml",
                  "code_page = 1251\nname = \"\u043C\u0435\u043D\u044E.mnu\"\n"
                  "[[item]]\ntarget = \"\u043C\u0435\u043D\u044E.mnu\"\n");
    folder_.Write("other.toml",
                  "code_page = 65001\n[[item]]\n"
                  "target = \"\u043C\u0435\u043D\u044E.mnu\"\n");
    Read({folder_.Path("ru.toml"), folder_.Path("other.toml")});
    EXPECT_EQ(Problems(), std::vector<std::string>{File("other.toml") +
                                                   ":3: the menu target \"\u043C\u0435\u043D"
                                                   "\u044E.mnu\" names no menu of the package"});
    // "ソ" ends in the byte of "\": the target is still a menu name.
    folder_.Write("jp.toml",
                  "code_page = 932\nname = \"\u30BD.mnu\"\n[[item]]\n"
                  "target = \"\u30BD.mnu\"\n");
    const PackageSource package = Read({folder_.Path("jp.toml")});
    EXPECT_EQ(Problems(), std::vector<std::string>{});
    ASSERT_EQ(package.menus.at(0).menuTargets.size(), 1u);
    EXPECT_EQ(package.menus[0].menuTargets[0].target, "\x83\x5C.mnu");
}

// The table of code pages follows the menus, and only a package that declares one has it.
TEST_F(CodePageSourceTest, TheTableOfCodePagesFollowsTheMenus) {
    folder_.Write("a.toml", "title = \"A\"\n");
    folder_.Write("b.toml", "code_page = 1251\ntitle = \"\u0411\"\n");
    folder_.Write("c.toml", "code_page = 0\ntitle = \"\u00E7\"\n");
    folder_.Write("d.toml", "code_page = 932\nname = \"\u30E1.mnu\"\n");
    const auto build = [&](const std::vector<std::string>& names) {
        std::vector<std::filesystem::path> sources;
        for (const std::string& name : names) sources.push_back(folder_.Path(name));
        const PackageSource package = Read(sources);
        EXPECT_EQ(Problems(), std::vector<std::string>{});
        const std::vector<std::uint8_t> bytes = BuildPackage(package, kStandInPlayer, nullptr);
        return std::string(bytes.begin(), bytes.end());
    };
    for (const auto& names :
         {std::vector<std::string>{"a.toml"}, std::vector<std::string>{"a.toml", "c.toml"}}) {
        EXPECT_EQ(build(names).find("codepages.dat"), std::string::npos);
    }

    const std::string file = build({"a.toml", "b.toml", "c.toml", "d.toml"});
    const BuiltPackage built =
        ReadBuiltPackageBytes("setup.exe", std::vector<std::uint8_t>(file.begin(), file.end()));
    ASSERT_EQ(built.menus.size(), 4u);
    const std::uint32_t codePages[] = {0, 1251, 0, 932};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(built.menus[i].codePage, codePages[i]) << i;
    // Fifth in the directory, its data last.
    const std::size_t directory = 2 + 4 + 3 + 12 + 6 + 1;
    EXPECT_EQ(file.substr(directory + 4 * 260, 13), "codepages.dat");
    ByteBuilder table;
    table.Bytes({2}).Le32(2).Le32(2);
    table.Bytes({4}).Le32(5).Text("b.mnu").Bytes({3}).Le32(4).Le32(1251);
    table.Bytes({4}).Le32(6).Text("\x83\x81.mnu").Bytes({3}).Le32(4).Le32(932);
    const std::size_t end = file.size() - 4;
    const std::size_t at = file.rfind(table.Str());
    ASSERT_NE(at, std::string::npos);
    EXPECT_LT(end - (at + table.Size()), 8u) << "only the padding after it";
}

// The directory holds 100 entries: 100 menus leave no room for the table.
TEST_F(CodePageSourceTest, HundredMenusLeaveNoRoomForTheTable) {
    std::vector<std::filesystem::path> sources;
    for (int n = 0; n < 100; ++n) {
        sources.push_back(
            folder_.Write("m" + std::to_string(n) + ".toml",
                          "[[item]]\ntarget = \"m" + std::to_string((n + 1) % 100) + ".mnu\"\n"));
    }
    const auto problems = [&]() {
        Read(sources);
        std::vector<std::string> found;
        for (const std::string& problem : Problems()) {
            if (problem.find("entries") != std::string::npos) found.push_back(problem);
        }
        return found;
    };
    EXPECT_EQ(problems(), std::vector<std::string>{});

    const std::string leaveOut =
        ": a package holds at most 100 entries, and its 100 menus leave no room for the table "
        "of code pages this menu needs: ";
    folder_.Write("m7.toml", "\ncode_page = 1251\n[[item]]\ntarget = \"m8.mnu\"\n");
    EXPECT_EQ(problems(), std::vector<std::string>{File("m7.toml") + ":2" + leaveOut +
                                                   "it declares code page 1251; leave out a "
                                                   "menu"});
    folder_.Write("m7.toml", "title = \"\u00E9\"\n[[item]]\ntarget = \"m8.mnu\"\n");
    EXPECT_EQ(problems(), std::vector<std::string>{
                              File("m7.toml") + leaveOut +
                              "its texts are not all ASCII, so it declares Windows-1252; leave "
                              "out a menu, or set \"code_page = 0\" to declare none"});
    folder_.Write("m7.toml", "code_page = 0\ntitle = \"\u00E9\"\n[[item]]\ntarget = \"m8.mnu\"\n");
    EXPECT_EQ(problems(), std::vector<std::string>{});
}

}  // namespace
}  // namespace ambrevo::pack
