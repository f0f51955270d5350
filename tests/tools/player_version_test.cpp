#include "pack/package/player_version.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pack/cli/commands.h"
#include "player_image.h"
#include "source_folder.h"
#include "support/pe_image.h"

namespace ambrevo::pack {
namespace {

namespace pe = ambrevo::testing::pe_image;

// A version resource's start as a resource compiler writes it: lengths and type, the
// key in UTF-16, padding, and the fixed part with its signature and file version.
std::string VersionResource(std::uint32_t high, std::uint32_t low,
                            std::uint32_t signature = 0xFEEF04BD) {
    std::string bytes(40 + 52, '\0');
    pe::PutNumber(bytes, 0, static_cast<std::uint32_t>(bytes.size()), 2);
    pe::PutNumber(bytes, 2, 52, 2);
    const std::string key = "VS_VERSION_INFO";
    for (std::size_t i = 0; i < key.size(); ++i) bytes[6 + 2 * i] = key[i];
    pe::PutNumber(bytes, 40, signature);
    pe::PutNumber(bytes, 48, high);
    pe::PutNumber(bytes, 52, low);
    return bytes;
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(PlayerVersionTest, ReadsTheFileVersionOfTheVersionResourceOnly) {
    const std::string player = testing::BarePlayerImage();
    const std::string resource = VersionResource(0x00010002, 0x00030000);
    struct Case {
        std::string name;
        std::string bytes;
        std::optional<std::string> version;
    };
    const std::vector<Case> cases = {
        {"none", player, std::nullopt},
        {"three parts", player + resource, "1.2.3"},
        {"four parts", player + VersionResource(0x000A0000, 0x00000007), "10.0.0.7"},
        {"key alone first", player + resource.substr(0, 40) + "xxxx" + resource, "1.2.3"},
        {"wrong signature", player + VersionResource(0x00010002, 0, 0x12345678), std::nullopt},
        {"cut short", player + resource.substr(0, 55), std::nullopt},
        {"key at the very start", resource.substr(6), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlayerVersionOf(Bytes(c.bytes)), c.version);
    }
}

TEST(PlayerVersionTest, ListAndBuildNameThePlayersVersion) {
    testing::SourceFolder folder;
    folder.Write("player.exe", testing::BarePlayerImage() + VersionResource(0, 0x00010000));
    folder.Write("main.toml", "title = \"Main\"\n");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunBuild({.sources = {folder.Path("main.toml")},
                        .player = folder.Path("player.exe"),
                        .output = folder.Path("setup.exe")},
                       err),
              0)
        << err.str();
    EXPECT_NE(err.str().find("player: version 0.0.1\nwrote "), std::string::npos) << err.str();
    ASSERT_EQ(RunList(folder.Path("setup.exe"), out, err), 0) << err.str();
    EXPECT_EQ(out.str().rfind("player: version 0.0.1\n", 0), 0u) << out.str();
}

}  // namespace
}  // namespace ambrevo::pack
