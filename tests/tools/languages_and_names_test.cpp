// The first menu per language and the items' names for screen readers, through the
// commands: check, build, list and extract.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pack/cli/commands.h"
#include "pack/common/file_io.h"
#include "player_image.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

class LanguagesAndNamesTest : public ::testing::Test {
protected:
    LanguagesAndNamesTest() {
        folder_.Write("player.exe", testing::BarePlayerImage());
        folder_.WritePng("src/b.png", 2, 2, 0xFF0000);
        folder_.Write("src/package.toml", R"(menus = ["main.toml", "main-de.toml", "main-fr.toml"]
[languages]
fr = "main-fr.toml"
de = "main-de.toml"
)");
        folder_.Write("src/main.toml", R"(title = "English"
[[item]]
target = "setup.exe"
description = "Installs the program"
name = "Install"
pictures = { normal = "b.png" }
[[item]]
target = "readme.txt"
pictures = { normal = "b.png" }
name = "Lisez-moi \u00e9"
)");
        folder_.Write("src/main-de.toml", "title = \"Deutsch\"\nbackground = \"b.png\"\n");
        folder_.Write("src/main-fr.toml", "title = \"Fran\u00e7ais\"\nbackground = \"b.png\"\n");
    }

    int Build(const std::filesystem::path& source, const std::string& output) {
        err_.str("");
        return RunBuild({.sources = {source},
                         .player = folder_.Path("player.exe"),
                         .output = folder_.Path(output),
                         .quiet = true},
                        err_);
    }
    std::string ReadText(const std::string& name) {
        const std::vector<std::uint8_t> bytes = ReadFileBytes(folder_.Path(name));
        return {bytes.begin(), bytes.end()};
    }

    SourceFolder folder_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(LanguagesAndNamesTest, CheckFindsNoProblemAndLanguageMenusCountAsReached) {
    EXPECT_EQ(RunCheck({folder_.Path("src/package.toml")}, out_, err_), 0);
    EXPECT_EQ(err_.str(), "");
    EXPECT_EQ(out_.str(), "no problems: 3 menus\n");
}

TEST_F(LanguagesAndNamesTest, ListShowsTheLanguagesAndTheNames) {
    ASSERT_EQ(Build(folder_.Path("src/package.toml"), "out.exe"), 0) << err_.str();
    ASSERT_EQ(RunList(folder_.Path("out.exe"), out_, err_), 0) << err_.str();
    const std::string listing = out_.str();
    for (const std::string& line : {
             std::string("; 3 menus\nfirst menu by language: de main-de.mnu, fr main-fr.mnu; "
                         "any other main.mnu\n"),
             std::string("  item   1  picture  -> \"setup.exe\" named \"Install\"  [normal 1]\n"),
             std::string("  item   2  picture  -> \"readme.txt\" named \"Lisez-moi \u00e9\""),
         }) {
        EXPECT_NE(listing.find(line), std::string::npos) << line << "\nin:\n" << listing;
    }
    EXPECT_EQ(listing.find(".dat"), std::string::npos) << listing;
    EXPECT_EQ(listing.find("\n4."), std::string::npos) << listing;
}

TEST_F(LanguagesAndNamesTest, BuildingAnExtractGivesTheSameBytes) {
    ASSERT_EQ(Build(folder_.Path("src/package.toml"), "first.exe"), 0) << err_.str();
    ASSERT_EQ(RunExtract(folder_.Path("first.exe"), folder_.Path("extract"), std::nullopt, err_), 0)
        << err_.str();
    EXPECT_EQ(err_.str(), "");
    const std::string package = ReadText("extract/package.toml");
    EXPECT_NE(package.find("\n[languages]\nde = \"main-de.toml\"\nfr = \"main-fr.toml\"\n"),
              std::string::npos)
        << package;
    const std::string main = ReadText("extract/main.toml");
    EXPECT_NE(main.find("\nname = \"Install\"\n"), std::string::npos) << main;
    EXPECT_NE(main.find("\nname = \"Lisez-moi \u00e9\"\n"), std::string::npos) << main;

    ASSERT_EQ(Build(folder_.Path("extract/package.toml"), "second.exe"), 0) << err_.str();
    EXPECT_EQ(ReadFileBytes(folder_.Path("second.exe")), ReadFileBytes(folder_.Path("first.exe")));
}

TEST_F(LanguagesAndNamesTest, CheckRefusesWhatCannotBeAndWarnsAboutMenusLeftOut) {
    folder_.Write("src/menu-it.toml", "title = \"Italiano\"\n");
    const auto package = folder_.Write("src/bad.toml", R"(menus = ["main.toml", "text.toml"]
[languages]
it = "menu-it.toml"
pt = "gone.toml"
EN = "main.toml"
es = 5
de = "text.toml"
)");
    folder_.Write("src/text.toml", R"(title = "Text"
[[item]]
kind = "text"
caption = "Back"
target = "main.mnu"
name = "Back to the start"
)");
    EXPECT_EQ(RunCheck({package}, out_, err_), 1);
    const std::string file = PathToUtf8(package);
    // The menus are read before the package file's languages.
    EXPECT_EQ(err_.str(),
              PathToUtf8(package.parent_path() / "text.toml") +  // as the package names it
                  ":6: \"name\" is for picture items; a text item is read by its caption\n" + file +
                  ":3: warning: \"languages.it\": \"menu-it.toml\" is not listed in \"menus\", "
                  "so the package does not hold it; users of this language see the first menu\n" +
                  file +
                  ":4: warning: \"languages.pt\": \"gone.toml\" not found; users of this language "
                  "see the first menu\n" +
                  file +
                  ":5: \"EN\" in \"languages\" is no language code: use the two lower-case "
                  "letters of ISO 639-1, such as \"de\"\n" +
                  file +
                  ":6: \"languages.es\" must name a menu source file of \"menus\"\n"
                  "3 problems found\n");
}

// The directory's 100 entries leave no room for the table of languages beside 100 menus.
TEST_F(LanguagesAndNamesTest, CheckRefusesATableThatFindsNoRoom) {
    std::string menus;
    for (int n = 1; n <= 100; ++n) {
        const std::string file = "m" + std::to_string(n) + ".toml";
        folder_.Write("full/" + file, "title = \"" + file + "\"\n");
        menus += (n == 1 ? "\"" : ", \"") + file + "\"";
    }
    const auto package = folder_.Write("full/package.toml",
                                       "menus = [" + menus + "]\n[languages]\nde = \"m2.toml\"\n");
    EXPECT_EQ(RunCheck({package}, out_, err_), 1);
    EXPECT_NE(err_.str().find(PathToUtf8(package) +
                              ": a package holds at most 100 entries, and its 100 menus leave no "
                              "room for the tables of item names and languages; leave out a "
                              "menu\n"),
              std::string::npos)
        << err_.str();
}

}  // namespace
}  // namespace ambrevo::pack
