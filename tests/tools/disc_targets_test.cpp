// The warning for targets the disc folder lacks, as check and build give it.
#include "pack/package/disc_targets.h"

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

TEST(DiscTargetsTest, CheckWarnsAboutEachTargetTheDiscFolderLacksAtItsLine) {
    struct Case {
        std::string target;
        bool warned;
    };
    const std::vector<Case> cases = {
        {"%slideshow.pdf", true},
        {"%Readme.TXT", false},  // letter case is Windows'
        {"\\readme.txt", false},
        {"%photos\\landscapes\\", false},
        {"%PHOTOS\\Landscapes", false},
        {"%photos\\portraits\\", true},
        {"%photos\\landscapes\\hill.jpg", false},
        {"%photos\\..\\readme.txt", false},
        {"%photos/landscapes/sea.jpg", true},
        {"photos\\landscapes\\hill.jpg", false},
        {"docs\\manual.pdf", true},
        {"\"%photos\\landscapes\\hill.jpg\"", false},
        {"%NOPROC%%CD%:\\setup.exe", true},
        {"%.git\\config", true},  // kept off the disc
        {"notepad.exe", false},   // Windows looks in its own folders too
        {"C:\\Windows\\notepad.exe", false},
        {"https://example.org/", false},
        {"$A message", false},
    };
    testing::SourceFolder folder;
    folder.Write("disc/readme.txt", "hello");
    folder.Write("disc/photos/landscapes/hill.jpg", "jpeg");
    folder.Write("disc/.git/config", "x");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        std::string literal;
        for (char ch : c.target) {
            if (ch == '\\' || ch == '"') literal += '\\';
            literal += ch;
        }
        folder.Write("main.toml", "title = \"Main\"\n[[item]]\nkind = \"button\"\ntarget = \"" +
                                      literal + "\"\n");
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunCheck({folder.Path("main.toml")}, out, err), 0);
        const std::string warning = PathToUtf8(folder.Path("main.toml")) + ":4: warning: \"" +
                                    c.target + "\" is not in the disc folder " +
                                    QuotedPath(folder.Path("disc")) +
                                    ": the player will search the disc for it and say it "
                                    "cannot find it\n";
        EXPECT_EQ(err.str(), c.warned ? warning : "");
    }
}

TEST(DiscTargetsTest, BuildWarnsAndStillBuildsUnlessStrict) {
    testing::SourceFolder folder;
    folder.Write("player.exe", testing::BarePlayerImage());
    folder.Write("disc/readme.txt", "hello");
    folder.Write("main.toml",
                 "title = \"Main\"\n[[item]]\nkind = \"button\"\n"
                 "target = \"%missing.txt\"\n");
    for (const bool strict : {false, true}) {
        SCOPED_TRACE(strict);
        std::filesystem::remove(folder.Path("disc/setup.exe"));
        std::ostringstream err;
        const BuildOptions options{.sources = {folder.Path("main.toml")},
                                   .player = folder.Path("player.exe"),
                                   .output = folder.Path("disc/setup.exe"),
                                   .quiet = true,
                                   .strict = strict};
        EXPECT_EQ(RunBuild(options, err), strict ? 1 : 0);
        EXPECT_NE(err.str().find(":4: " + std::string(strict ? "" : "warning: ") +
                                 "\"%missing.txt\" is not in the disc folder"),
                  std::string::npos)
            << err.str();
        EXPECT_EQ(std::filesystem::exists(folder.Path("disc/setup.exe")), !strict);
    }
}

}  // namespace
}  // namespace ambrevo::pack
