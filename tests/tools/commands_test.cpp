#include "pack/cli/commands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/writer/code_page_entry.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/writer/package_writer.h"
#include "player_image.h"
#include "source_folder.h"
#include "support/byte_builder.h"

namespace ambrevo::pack {
namespace {

using ambrevo::testing::AsBytes;
using testing::SourceFolder;

const std::string kPlayer = testing::BarePlayerImage();

class CommandsTest : public ::testing::Test {
protected:
    CommandsTest() {
        folder_.Write("player.exe", kPlayer);
        // Top-left pixel clear, so the main window is shaped.
        std::vector<std::uint32_t> background(12, 0xFF204060);
        background[0] = 0x00000000;
        folder_.WritePng("art/bg.png", 4, 3, background);
        folder_.WritePng("art/b1.png", 2, 2, 0xFF0000);
        folder_.WritePng("art/b2.png", 2, 2, 0x00FF00);
        folder_.WritePng("art/b3.png", 2, 2, 0x0000FF);
        folder_.Write("src/main.toml", R"(
title = "Main \u00b6 menu"
background = "../art/bg.png"
placement = "top-right"
[shape]
[description]
text = "Line one\r\nline two"
[expiry]
year = 2031
message = "Old \"disc\""
[[item]]
target = "help.mnu"
animation = "loop"
[item.pictures]
normal = "../art/b1.png"
normal_frames = ["../art/b2.png", "", "../art/b3.png"]
pressed = "../art/b3.png"
[[item]]
kind = "button"
caption = "&Exit"
exit_after_launch = true
font = { name = "Arial Black", size = 9, color = 2147483656 }
[[item]]
kind = "text"
caption = "Menu"
target = "SUB MENU.MNU"
)");
        folder_.Write("src/help.toml", R"(
version = 6
title = "Help"
background = "../art/b1.png"
[[item]]
kind = "text"
caption = "Back"
target = "main.mnu"
)");
        // A font left at Windows' default size, as menus made elsewhere hold.
        folder_.Write("src/other.toml",
                      "name = \"Sub Menu.mnu\"\ntitle = \"Sub\"\n"
                      "[clock]\ntime_font = { name = \"\", size = 0 }\n");
        // Menus in other scripts, and one in Windows-1252 that declares nothing.
        folder_.Write("src/ru.toml", R"(
code_page = 1251
name = "Меню.mnu"
title = "Привет"
[description]
text = "Выберите"
font = { name = "Верданa", size = 9 }
[[item]]
kind = "text"
caption = "&Назад"
target = "jp.mnu"
parameters = "/язык=ru"
)");
        folder_.Write("src/jp.toml", R"(
code_page = 932
title = "メニュー"
[expiry]
year = 2031
message = "期限切れ"
[[item]]
kind = "button"
caption = "ソフト"
target = '%ソフト\setup.exe'
description = "インストール"
viewer_name = "ビューア"
[[item]]
kind = "text"
caption = "戻る"
target = "MAIN.mnu"
)");
        folder_.Write("src/plain.toml", "code_page = 0\ntitle = \"Caf\u00e9\"\n");
    }

    int Build(const std::vector<std::filesystem::path>& sources, const std::string& output,
              const std::filesystem::path& player) {
        err_.str("");
        return RunBuild(
            {.sources = sources, .player = player, .output = folder_.Path(output), .quiet = true},
            err_);
    }
    int BuildAll(const std::string& output) {
        return Build({folder_.Path("src/main.toml"), folder_.Path("src/help.toml"),
                      folder_.Path("src/other.toml")},
                     output, folder_.Path("player.exe"));
    }
    int BuildScripts(const std::string& output) {
        return Build({folder_.Path("src/main.toml"), folder_.Path("src/help.toml"),
                      folder_.Path("src/other.toml"), folder_.Path("src/ru.toml"),
                      folder_.Path("src/jp.toml"), folder_.Path("src/plain.toml")},
                     output, folder_.Path("player.exe"));
    }
    std::string ReadText(const std::string& name) {
        const std::vector<std::uint8_t> bytes = Read(name);
        return {bytes.begin(), bytes.end()};
    }
    std::vector<std::uint8_t> Read(const std::string& name) {
        return ReadFileBytes(folder_.Path(name));
    }
    std::string Quoted(const std::string& name) {
        std::string quoted = PathToUtf8(folder_.Path(name));
        return quoted.insert(0, 1, '"') + '"';
    }

    SourceFolder folder_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(CommandsTest, BuildingAnExtractGivesTheSameBytes) {
    ASSERT_EQ(BuildAll("first.exe"), 0) << err_.str();
    err_.str("");  // the build's warnings
    ASSERT_EQ(RunExtract(folder_.Path("first.exe"), folder_.Path("extract"),
                         folder_.Path("bare.exe"), err_),
              0)
        << err_.str();
    EXPECT_EQ(err_.str(), "");
    EXPECT_EQ(Read("bare.exe"), AsBytes(kPlayer));

    ASSERT_EQ(Build({folder_.Path("extract/package.toml")}, "second.exe", folder_.Path("bare.exe")),
              0)
        << err_.str();
    EXPECT_EQ(Read("second.exe"), Read("first.exe"));
}

// Each menu keeps its code page: declared ones as "code_page = N", and one that declares
// none though its texts are not all ASCII as "code_page = 0".
TEST_F(CommandsTest, BuildingAnExtractGivesTheSameBytesInEveryCodePage) {
    ASSERT_EQ(BuildScripts("first.exe"), 0) << err_.str();
    err_.str("");
    ASSERT_EQ(RunExtract(folder_.Path("first.exe"), folder_.Path("extract"), std::nullopt, err_), 0)
        << err_.str();
    EXPECT_EQ(err_.str(), "");
    const struct {
        std::string file;
        std::string codePage;  // the line, or "" for none
    } menus[] = {
        {"main.toml", "code_page = 1252\n"},
        {"help.toml", ""},
        {"sub_menu.toml", ""},
        {"menu.toml", "code_page = 1251\n"},  // "Меню.mnu": no ASCII letter to name the file
        {"jp.toml", "code_page = 932\n"},
        {"plain.toml", "code_page = 0\n"},
    };
    for (const auto& menu : menus) {
        SCOPED_TRACE(menu.file);
        const std::string toml = ReadText("extract/" + menu.file);
        if (menu.codePage.empty()) {
            EXPECT_EQ(toml.find("code_page"), std::string::npos);
        } else {
            EXPECT_NE(toml.find("\n" + menu.codePage), std::string::npos) << toml;
        }
    }
    const std::string russian = ReadText("extract/menu.toml");
    for (const char* line :
         {"name = \"Меню.mnu\"\n", "title = \"Привет\"\n", "font = { name = \"Верданa\", size = 9,",
          "parameters = \"/язык=ru\"\n"}) {
        EXPECT_NE(russian.find(line), std::string::npos) << line << "\nin:\n" << russian;
    }
    const std::string japanese = ReadText("extract/jp.toml");
    for (const char* line :
         {"title = \"メニュー\"\n", "message = \"期限切れ\"\n",
          "target = \"%ソフト\\\\setup.exe\"\n", "viewer_name = \"ビューア\"\n"}) {
        EXPECT_NE(japanese.find(line), std::string::npos) << line << "\nin:\n" << japanese;
    }

    ASSERT_EQ(
        Build({folder_.Path("extract/package.toml")}, "second.exe", folder_.Path("player.exe")), 0)
        << err_.str();
    EXPECT_EQ(Read("second.exe"), Read("first.exe"));
}

TEST_F(CommandsTest, ListShowsCodePagesWhereDeclaredAndNoTable) {
    ASSERT_EQ(BuildScripts("out.exe"), 0) << err_.str();
    ASSERT_EQ(RunList(folder_.Path("out.exe"), out_, err_), 0) << err_.str();
    const std::string listing = out_.str();
    for (const std::string& line : {
             std::string("; 6 menus\n"),
             std::string("  version 7, code page 1252, title \"Main \u00b6 menu\""),
             std::string("  version 6, title \"Help\", placement center\n"),
             std::string("\n4. Меню.mnu (data at byte "),
             std::string("  version 7, code page 1251, title \"Привет\", placement center\n"),
             std::string("  item   1  text     \"&Назад\" -> \"jp.mnu\"\n"),
             std::string("  version 7, code page 932, title \"メニュー\", placement center\n"),
             std::string("  item   1  button   \"ソフト\" -> \"%ソフト\\\\setup.exe\"\n"),
             std::string("  item   2  text     \"戻る\" -> \"MAIN.mnu\"\n"),
             std::string("\n6. plain.mnu (data at byte "),
             std::string("  version 7, title \"Café\", placement center\n"),
         }) {
        EXPECT_NE(listing.find(line), std::string::npos) << line << "\nin:\n" << listing;
    }
    EXPECT_EQ(listing.find("codepages.dat"), std::string::npos) << listing;
    EXPECT_EQ(listing.find("\n7."), std::string::npos) << listing;
}

// Bytes that no text of the menu's code page builds cannot become a source.
TEST_F(CommandsTest, ExtractRefusesTextsNoSourceBuilds) {
    MenuDefinition menu;
    menu.title = "\x83";  // the first of two bytes of code page 932, alone
    const std::vector<MenuCodePage> codePages = {{"jp.mnu", 932}};
    const std::vector<PackageEntryData> entries = {{"jp.mnu", WriteMenuBody(menu, 7)},
                                                   *CodePageEntry(codePages)};
    WriteFileBytes(folder_.Path("cut.exe"), WritePackage(AsBytes(kPlayer), entries));
    EXPECT_EQ(RunExtract(folder_.Path("cut.exe"), folder_.Path("out"), std::nullopt, err_), 1);
    EXPECT_EQ(err_.str(),
              "error: the menu \"jp.mnu\" cannot be extracted: its title holds bytes "
              "that no text of code page 932 builds\n");
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("out")));
    // Listed all the same, with the bytes that are no text replaced.
    EXPECT_EQ(RunList(folder_.Path("cut.exe"), out_, err_), 0);
    EXPECT_NE(out_.str().find("code page 932, title \"\uFFFD\""), std::string::npos) << out_.str();
}

TEST_F(CommandsTest, BuildWritesThePlayerThenThePackage) {
    ASSERT_EQ(BuildAll("out.exe"), 0) << err_.str();
    const std::vector<std::uint8_t> file = Read("out.exe");
    ASSERT_GT(file.size(), kPlayer.size() + 4);
    EXPECT_EQ(std::string(file.begin(), file.begin() + static_cast<long>(kPlayer.size()) + 4),
              kPlayer + "FPAK");
}

TEST_F(CommandsTest, ListShowsTheDirectoryAndEachMenu) {
    ASSERT_EQ(BuildAll("out.exe"), 0) << err_.str();
    ASSERT_EQ(RunList(folder_.Path("out.exe"), out_, err_), 0) << err_.str();
    const std::string listing = out_.str();
    const std::vector<std::string> lines = {
        "player: " + std::to_string(kPlayer.size()) +
            " bytes; package header \"Ambrevo\", byte 0; 3 menus\n",
        // The title is not all ASCII: the package declares Windows-1252 for the menu, in a
        // fourth entry of the directory.
        "\n1. main.mnu (data at byte " + std::to_string(kPlayer.size() + 806 + 260) + ")\n",
        "  version 7, code page 1252, title \"Main \u00b6 menu\", placement top-right\n",
        "  background 4 x 3, shaped, 3 items, 5 pictures\n",
        "  item   1  picture  -> \"help.mnu\"  [normal 1 + 2 frames, pressed 1]\n",
        "  item   2  button   \"&Exit\" -> (no target)\n",
        "  item   3  text     \"Menu\" -> \"SUB MENU.MNU\"\n",
        "  version 6, title \"Help\", placement center\n",
        "\n3. sub menu.mnu (data at byte ",
    };
    for (const std::string& line : lines) {
        EXPECT_NE(listing.find(line), std::string::npos) << line << "\nin:\n" << listing;
    }
}

TEST_F(CommandsTest, CheckReportsProblemsAndRefusesToBuild) {
    const auto bad = folder_.Write("src/bad.toml", "title = 1\n[[item]]\ntarget = \"gone.mnu\"\n");
    EXPECT_EQ(RunCheck({bad}, out_, err_), 1);
    const std::string file = PathToUtf8(bad);
    EXPECT_EQ(err_.str(),
              file + ":1: Window title (\"title\") must be a text in double quotes: \"...\"\n" +
                  file +
                  ":2: warning: item 1 is a picture item without a normal picture: "
                  "it shows nothing\n" +
                  file +
                  ":3: the menu target \"gone.mnu\" names no menu of the package\n"
                  "2 problems found\n");

    EXPECT_EQ(Build({bad}, "out.exe", folder_.Path("player.exe")), 1);
    EXPECT_NE(err_.str().find("nothing built"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("out.exe")));

    err_.str("");
    EXPECT_EQ(RunCheck({folder_.Path("src/main.toml"), folder_.Path("src/help.toml"),
                        folder_.Path("src/other.toml")},
                       out_, err_),
              0);
    EXPECT_EQ(out_.str(), "no problems: 3 menus\n");
}

TEST_F(CommandsTest, BadFilesGiveClearErrors) {
    ASSERT_EQ(BuildAll("out.exe"), 0);
    folder_.Write("extract/keep.txt", "mine");

    EXPECT_EQ(Build({folder_.Path("src/main.toml")}, "x.exe", folder_.Path("none.exe")), 1);
    EXPECT_EQ(err_.str(), "error: cannot read " + Quoted("none.exe") + ": no such file\n");

    EXPECT_EQ(Build({folder_.Path("src/main.toml")}, "x.exe", folder_.Path("out.exe")), 1);
    EXPECT_EQ(err_.str(), "error: " + Quoted("out.exe") +
                              " already carries a menu package; give the bare player\n");

    EXPECT_EQ(Build({folder_.Path("src/help.toml")}, "player.exe", folder_.Path("player.exe")), 1);
    EXPECT_EQ(err_.str(),
              "error: the output would replace the player " + Quoted("player.exe") + "\n");
    EXPECT_EQ(Read("player.exe"), AsBytes(kPlayer));

    err_.str("");
    EXPECT_EQ(RunList(folder_.Path("player.exe"), out_, err_), 1);
    EXPECT_EQ(err_.str(), "error: " + PathToUtf8(folder_.Path("player.exe")) +
                              ": no menu package: this is a bare player\n");

    err_.str("");
    EXPECT_EQ(RunExtract(folder_.Path("out.exe"), folder_.Path("extract"), std::nullopt, err_), 1);
    EXPECT_EQ(err_.str(), "error: " + Quoted("extract") +
                              " already exists and is not an empty folder; choose another\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path("extract")),
                            std::filesystem::directory_iterator()),
              1);
}

// The bare player saved over the program itself, however the path reaches it, would lose
// the built disc.
TEST_F(CommandsTest, ExtractRefusesToSaveThePlayerOverTheProgram) {
    ASSERT_EQ(BuildAll("out.exe"), 0) << err_.str();
    const std::vector<std::uint8_t> built = Read("out.exe");
    // Links a system does not let a user make (Windows without the privilege) are left out.
    std::error_code noLink;
    std::filesystem::create_symlink(folder_.Path("out.exe"), folder_.Path("link.exe"), noLink);
    std::filesystem::create_hard_link(folder_.Path("out.exe"), folder_.Path("hard.exe"), noLink);
    const struct {
        std::string program;
        std::string playerCopy;
    } cases[] = {
        {"out.exe", "out.exe"},  {"out.exe", "src/../out.exe"}, {"out.exe", "link.exe"},
        {"link.exe", "out.exe"}, {"out.exe", "hard.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program + " " + c.playerCopy);
        if (!std::filesystem::exists(folder_.Path(c.program)) ||
            !std::filesystem::exists(folder_.Path(c.playerCopy))) {
            continue;
        }
        err_.str("");
        EXPECT_EQ(RunExtract(folder_.Path(c.program), folder_.Path("extract"),
                             folder_.Path(c.playerCopy), err_),
                  1);
        EXPECT_EQ(err_.str(), "error: the bare player would replace the program " +
                                  Quoted(c.program) + " itself\n");
        EXPECT_EQ(Read("out.exe"), built);
        EXPECT_FALSE(std::filesystem::exists(folder_.Path("extract")));
    }
}

// One menu file previews on its own; a package is checked whole, as check and build do.
TEST_F(CommandsTest, PreviewOfOneMenuWarnsAboutTargetsItCannotCheck) {
    folder_.Write("src/package.toml", "menus = [\"main.toml\"]\n");
    const std::string main = PathToUtf8(folder_.Path("src") / "main.toml");
    const std::string notChecked = "\" is not checked: this menu is read alone\n";
    const std::string notFound = "\" names no menu of the package\n";
    const struct {
        std::string command;
        std::string source;
        int status;
        std::vector<std::string> messages;
    } cases[] = {
        {"preview",
         "main.toml",
         0,
         {main + ":12: warning: the menu target \"help.mnu" + notChecked,
          main + ":26: warning: the menu target \"SUB MENU.MNU" + notChecked}},
        {"preview", "package.toml", 1, {main + ":12: the menu target \"help.mnu" + notFound}},
        {"check", "main.toml", 1, {main + ":26: the menu target \"SUB MENU.MNU" + notFound}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command + " " + c.source);
        std::filesystem::remove(folder_.Path("main.png"));
        err_.str("");
        const int status =
            c.command == "preview"
                ? RunPreview({folder_.Path("src") / c.source, folder_.Path("main.png"), {}, {}},
                             err_)
                : RunCheck({folder_.Path("src") / c.source}, out_, err_);
        EXPECT_EQ(status, c.status) << err_.str();
        for (const std::string& message : c.messages) {
            EXPECT_NE(err_.str().find(message), std::string::npos) << message << "in:\n"
                                                                   << err_.str();
        }
        EXPECT_EQ(std::filesystem::exists(folder_.Path("main.png")), c.status == 0);
    }
}

TEST_F(CommandsTest, DamagedMenusAreNamedAndNotExtracted) {
    MenuDefinition menu;
    auto picture = std::make_shared<Bitmap>();
    picture->width = picture->height = 2;
    picture->pixels.assign(4, 0x123456);
    menu.pictures.StorePicture(0, 0, 0, picture);
    std::vector<std::uint8_t> body = WriteMenuBody(menu, 7);
    std::vector<std::uint8_t> damagedZlib = body;
    damagedZlib.at(damagedZlib.size() - 6) ^= 0xFF;  // inside the deflate data
    std::vector<std::uint8_t> wrongKind = body;
    wrongKind[4] = 2;
    const std::vector<PackageEntryData> entries = {
        {"good.mnu", body},
        {"short.mnu", std::vector<std::uint8_t>(body.begin(), body.begin() + 40)},
        {"zlib.mnu", damagedZlib},
        {"kind.mnu", wrongKind},
    };
    WriteFileBytes(folder_.Path("damaged.exe"), WritePackage(AsBytes(kPlayer), entries));

    EXPECT_EQ(RunList(folder_.Path("damaged.exe"), out_, err_), 1);
    const std::string listing = out_.str();
    for (const char* problem : {"short.mnu (data at byte",
                                "  cannot be read: damaged: a value has the wrong type or "
                                "the entry is cut short\n",
                                "  cannot be read: damaged picture data (Error)\n",
                                "  cannot be read: not a menu of format version 6 or later\n"}) {
        EXPECT_NE(listing.find(problem), std::string::npos) << problem << "\nin:\n" << listing;
    }
    err_.str("");
    EXPECT_EQ(RunExtract(folder_.Path("damaged.exe"), folder_.Path("out"), std::nullopt, err_), 1);
    EXPECT_EQ(err_.str(),
              "error: the menu \"short.mnu\" cannot be extracted: damaged: a value "
              "has the wrong type or the entry is cut short\n");
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("out")));
}

}  // namespace
}  // namespace ambrevo::pack
