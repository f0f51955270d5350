#include "pack/start/disc_templates.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pack/cli/commands.h"
#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/pictures/filled_picture.h"
#include "pack/pictures/png_codec.h"
#include "pack/start/new_disc_command.h"
#include "player_image.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

std::vector<std::string> TemplateNames() {
    std::vector<std::string> names;
    for (const DiscTemplate& known : DiscTemplates()) names.push_back(known.name);
    return names;
}

TEST(DiscTemplatesTest, EveryTemplateMakesADiscThatBuildsAndPassesTheStrictCheck) {
    const std::vector<std::string> names = TemplateNames();
    ASSERT_GE(names.size(), 3u);
    EXPECT_NE(std::find(names.begin(), names.end(), kDefaultTemplate), names.end());
    for (const DiscTemplate& known : DiscTemplates()) {
        SCOPED_TRACE(known.name);
        EXPECT_FALSE(known.title.empty());
        EXPECT_FALSE(known.description.empty());
        SourceFolder folder;
        const std::filesystem::path disc = folder.Path("discs/" + known.name);
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(RunNew(disc, known.name, out, err), 0) << err.str();
        EXPECT_FALSE(std::filesystem::exists(disc / "template.toml"));
        EXPECT_TRUE(std::filesystem::is_directory(disc / "disc"));

        const std::filesystem::path package = disc / "package.toml";
        std::ostringstream checkOut;
        std::ostringstream checkErr;
        EXPECT_EQ(RunCheck({package}, checkOut, checkErr, true), 0) << checkErr.str();
        EXPECT_EQ(checkErr.str(), "");

        folder.Write("player.exe", testing::BarePlayerImage());
        std::ostringstream buildErr;
        EXPECT_EQ(RunBuild({.sources = {package},
                            .player = folder.Path("player.exe"),
                            .output = folder.Path("setup.exe"),
                            .quiet = true,
                            .strict = true},
                           buildErr),
                  0)
            << buildErr.str();
        EXPECT_TRUE(std::filesystem::exists(folder.Path("setup.exe")));
    }
}

TEST(DiscTemplatesTest, RefusesWhatWouldLoseOrMixFilesAndWritesNothing) {
    struct Case {
        const char* what;
        const char* existing;  // a file made first, relative to the temporary folder
        const char* target;    // the new disc's folder
        const char* templateName;
        const char* message;  // after the target's quoted path, or whole when it starts "error"
    };
    const Case cases[] = {
        {"a folder that holds a file", "disc/notes.txt", "disc", "product",
         " is not empty: name a new folder for the disc, or an empty one\n"},
        {"a file in the folder's place", "disc", "disc", "launcher",
         " is not a folder: name a new folder for the disc\n"},
        {"a misspelt template", nullptr, "fresh", "colection",
         "error: there is no template \"colection\"; did you mean \"collection\"?\n"},
        {"an unknown template", nullptr, "fresh", "spaceship",
         "error: there is no template \"spaceship\"; `ambrevo-pack new --list` names them\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SourceFolder folder;
        if (c.existing) folder.Write(c.existing, "kept");
        const std::filesystem::path target = folder.Path(c.target);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunNew(target, c.templateName, out, err), 1);
        const std::string message = c.message;
        EXPECT_EQ(err.str(), message.starts_with("error")
                                 ? message
                                 : "error: " + QuotedPath(target) + message);
        EXPECT_EQ(out.str(), "");
        if (c.existing) {
            const std::vector<std::uint8_t> kept = ReadFileBytes(folder.Path(c.existing));
            EXPECT_EQ(std::string(kept.begin(), kept.end()), "kept");
            EXPECT_FALSE(std::filesystem::exists(folder.Path("disc/package.toml")));
        } else {
            EXPECT_FALSE(std::filesystem::exists(target));
        }
    }
}

TEST(DiscTemplatesTest, AnEmptyFolderTakesTheDisc) {
    SourceFolder folder;
    std::filesystem::create_directory(folder.Path("empty"));
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunNew(folder.Path("empty"), "collection", out, err), 0) << err.str();
    EXPECT_TRUE(std::filesystem::exists(folder.Path("empty/about.toml")));
    EXPECT_TRUE(std::filesystem::exists(folder.Path("empty/pictures/about-background.png")));
}

TEST(FilledPictureTest, RowsRunFromTheTopColourToTheBottomOne) {
    struct Case {
        std::int32_t height;
        std::uint32_t top;
        std::uint32_t bottom;
        std::vector<std::uint32_t> rows;  // the colour of each row
    };
    const Case cases[] = {
        {1, 0x102030, 0xF0E0D0, {0x102030}},
        {2, 0x000000, 0xFFFFFF, {0x000000, 0xFFFFFF}},
        {3, 0x000000, 0xFF80FF, {0x000000, 0x804080, 0xFF80FF}},
        {3, 0xFF0000, 0x000000, {0xFF0000, 0x7F0000, 0x000000}},
        {5, 0x0A0A0A, 0x0A0A0A, {0x0A0A0A, 0x0A0A0A, 0x0A0A0A, 0x0A0A0A, 0x0A0A0A}},
        {4, 0x000000, 0x0000FF, {0x000000, 0x000055, 0x0000AA, 0x0000FF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        const Bitmap picture = FilledPicture(3, c.height, c.top, c.bottom);
        ASSERT_EQ(picture.width, 3);
        ASSERT_EQ(picture.height, c.height);
        ASSERT_EQ(picture.pixels.size(), 3u * static_cast<std::size_t>(c.height));
        for (std::int32_t row = 0; row < c.height; ++row) {
            for (std::size_t column = 0; column < 3; ++column) {
                EXPECT_EQ(picture.pixels[static_cast<std::size_t>(row) * 3 + column],
                          c.rows[static_cast<std::size_t>(row)])
                    << "row " << row;
            }
        }
    }
}

TEST(FilledPictureTest, ReadsOnlySixHexDigitsAfterAHash) {
    struct Case {
        const char* text;
        std::optional<std::uint32_t> colour;
    };
    const Case cases[] = {
        {"#1b4965", 0x1B4965},     {"#FFFFFF", 0xFFFFFF},    {"#000000", 0},
        {"1b4965", std::nullopt},  {"#1b496", std::nullopt}, {"#1b49655", std::nullopt},
        {"#1g4965", std::nullopt}, {"", std::nullopt},       {"#-1b496", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RgbOfHexText(c.text), c.colour) << c.text;
    }
}

}  // namespace
}  // namespace ambrevo::pack
