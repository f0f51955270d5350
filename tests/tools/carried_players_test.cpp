#include "pack/disc/carried_players.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "pack/common/pack_error.h"
#include "pack/disc/disc_build.h"
#include "pack/package/bare_player_check.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

std::string FileText(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// A build without --player takes the player carried for --bits: the same bytes as a build
// on the player file the tool was built with. A tool built before that player says so and
// writes nothing.
TEST(CarriedPlayersTest, BuildWithoutPlayerTakesTheCarriedOne) {
    struct Case {
        int bits;
        std::filesystem::path playerFile;
    };
    const std::vector<Case> cases = {{32, AMBREVO_PLAYER32_BUILD}, {64, AMBREVO_PLAYER64_BUILD}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        testing::SourceFolder folder;
        folder.Write("main.toml", "title = \"Main\"\n");
        const BuildOptions carried{.sources = {folder.Path("main.toml")},
                                   .output = folder.Path("carried.exe"),
                                   .quiet = true,
                                   .bits = c.bits};
        std::ostringstream err;
        if (CarriedPlayer(c.bits).empty()) {
            EXPECT_EQ(RunBuild(carried, err), 1);
            EXPECT_EQ(err.str(), "error: this tool carries no " + std::to_string(c.bits) +
                                     "-bit player (it was built before the player); give "
                                     "--player FILE\n");
            EXPECT_FALSE(std::filesystem::exists(folder.Path("carried.exe")));
            continue;
        }
        EXPECT_TRUE(IsBarePlayer(CarriedPlayer(c.bits)));
        ASSERT_EQ(RunBuild(carried, err), 0) << err.str();
        BuildOptions given = carried;
        given.player = c.playerFile;
        given.output = folder.Path("given.exe");
        ASSERT_EQ(RunBuild(given, err), 0) << err.str();
        const std::string built = FileText(folder.Path("carried.exe"));
        EXPECT_GT(built.size(), CarriedPlayer(c.bits).size());
        EXPECT_TRUE(built == FileText(folder.Path("given.exe")));
    }
}

TEST(CarriedPlayersTest, OnlyThe32And64BitPlayersAreCarried) {
    for (const int bits : {0, 16, 63, 128}) {
        SCOPED_TRACE(bits);
        EXPECT_TRUE(CarriedPlayer(bits).empty());
        try {
            PlayerForBuild(std::nullopt, bits);
            ADD_FAILURE() << "no player for " << bits << " bits";
        } catch (const PackError& refused) {
            EXPECT_EQ(std::string(refused.what()),
                      "--bits is 32 or 64, not " + std::to_string(bits));
        }
    }
}

}  // namespace
}  // namespace ambrevo::pack
