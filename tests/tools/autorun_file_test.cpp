#include "pack/package/autorun_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "pack/cli/commands.h"
#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "player_image.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

TEST(AutorunFileTest, NamesTheProgramAndTheLabelInWindows1252) {
    const struct {
        AutorunTexts texts;
        std::string expectedLabelAndAction;
    } cases[] = {
        {{"Demo Disc", std::nullopt}, "label=Demo Disc\r\naction=Run Demo Disc\r\n"},
        {{"Caf\u00e9 \u20ac", std::nullopt}, "label=Caf\xe9 \x80\r\naction=Run Caf\xe9 \x80\r\n"},
        {{"Demo", "Open the demo; see = too"}, "label=Demo\r\naction=Open the demo; see = too\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AutorunInf("setup.exe", c.texts),
                  "[autorun]\r\nopen=setup.exe\r\nicon=setup.exe\r\n" + c.expectedLabelAndAction);
    }
}

TEST(AutorunFileTest, RefusesTextsThatWouldBreakTheFile) {
    const struct {
        std::string program;
        AutorunTexts texts;
        std::string message;
    } cases[] = {
        {"setup.exe", {"", std::nullopt}, "the autorun label is empty"},
        {"setup.exe", {"Demo", ""}, "the autorun action is empty"},
        {"setup.exe",
         {"Two\r\nlines", std::nullopt},
         "the autorun label \"Two\r\nlines\" holds a line break or another control character"},
        {"setup.exe",
         {"Demo", "Run\nit"},
         "the autorun action \"Run\nit\" holds a line break or another control character"},
        {"setup.exe",
         {"Tab\there", std::nullopt},
         "the autorun label \"Tab\there\" holds a line break or another control character"},
        {"setup.exe",
         {"Arrow \u2192", std::nullopt},
         "the autorun label \"Arrow \u2192\" holds the character U+2192, which autorun.inf "
         "(Windows-1252) cannot hold"},
        {"setup.exe",
         {"Bad \xff", std::nullopt},
         "the autorun label \"Bad \xff\" holds a byte that is not UTF-8, which autorun.inf "
         "(Windows-1252) cannot hold"},
        {"my setup.exe",
         {"Demo", std::nullopt},
         "the program name \"my setup.exe\" holds a space, which autorun.inf cannot open; "
         "choose a name without one"},
    };
    for (const auto& c : cases) {
        try {
            AutorunInf(c.program, c.texts);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const PackError& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
}

TEST(AutorunFileTest, BuildWritesItBesideTheDiscOrBuildsNothing) {
    testing::SourceFolder folder;
    folder.Write("player.exe", testing::BarePlayerImage());
    const auto source = folder.Write("main.toml", "title = \"Main\"\n");
    std::ostringstream err;
    BuildOptions options{.sources = {source},
                         .player = folder.Path("player.exe"),
                         .output = folder.Path("disc/setup.exe")};
    std::filesystem::create_directory(folder.Path("disc"));

    options.autorun = AutorunTexts{"Line\nbreak", std::nullopt};
    EXPECT_EQ(RunBuild(options, err), 1);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path("disc")));

    options.autorun = AutorunTexts{"Demo", std::nullopt};
    ASSERT_EQ(RunBuild(options, err), 0) << err.str();
    const std::vector<std::uint8_t> inf = ReadFileBytes(folder.Path("disc/autorun.inf"));
    EXPECT_EQ(std::string(inf.begin(), inf.end()),
              "[autorun]\r\nopen=setup.exe\r\nicon=setup.exe\r\nlabel=Demo\r\naction=Run Demo\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("disc/autorun.inf.part")));
}

}  // namespace
}  // namespace ambrevo::pack
