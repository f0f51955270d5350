#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pack/cli/commands.h"
#include "pack/common/file_io.h"
#include "pack/pictures/png_structure.h"
#include "pack/text/close_names.h"
#include "pack/source/package_source.h"
#include "player_image.h"
#include "source_folder.h"
#include "support/byte_builder.h"
#include "support/pe_image.h"

namespace ambrevo::pack {
namespace {

using ambrevo::testing::AsBytes;
using testing::SourceFolder;

std::string BigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

// A chunk with a zero CRC (neither the decoder nor the layout check reads it).
std::string Chunk(const std::string& type, const std::string& data, std::uint32_t length) {
    return BigEndian(length) + type + data + std::string(4, '\0');
}

TEST(ClosestNameTest, SuggestsOnlyNamesNearEnoughToBeASlip) {
    const std::vector<std::string> keys = {
        "animation", "animation_interval", "title", "name", "build", "check", "list", "extract"};
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"animaton_interval", "animation_interval"},
        {"animation_intervall", "animation_interval"},
        {"Title", "title"},
        {"tilte", "title"},
        {"bulid", "build"},
        {"chek", "check"},
        {"nmae", "name"},
        {"extarct", "extract"},
        {"tit", ""},
        {"background", ""},
        {"lsit", "list"},
        {"xyz", ""},
    };
    for (const auto& [given, meant] : cases) {
        EXPECT_EQ(ClosestName(given, keys).value_or(""), meant) << given;
    }
}

class ToolMessagesTest : public ::testing::Test {
protected:
    std::vector<std::string> Problems(const std::vector<std::string>& sources) {
        std::vector<std::filesystem::path> paths;
        for (const std::string& source : sources) paths.push_back(folder_.Path(source));
        Diagnostics diagnostics;
        PictureCache cache;
        ReadPackageSource(paths, cache, diagnostics);
        std::vector<std::string> problems;
        for (const Diagnostic& problem : diagnostics.ByFileAndLine()) {
            problems.push_back(PathToUtf8(std::filesystem::path(problem.file).filename()) + ":" +
                               std::to_string(problem.line) + ": " + problem.message);
        }
        return problems;
    }
    // A good 2 x 2 PNG with `chunk` put right after its header chunk.
    std::string PngWith(const std::string& chunk) {
        const auto path = folder_.WritePng("good.png", 2, 2, 0x123456);
        const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
        std::string png(bytes.begin(), bytes.end());
        return png.insert(33, chunk);
    }

    SourceFolder folder_;
};

TEST_F(ToolMessagesTest, UnusablePicturesSayWhy) {
    const std::string good = PngWith("");
    const std::string header = good.substr(0, 33);
    const std::string rest = good.substr(33);
    std::string wide = header;
    wide.replace(16, 8, BigEndian(20000) + BigEndian(100));
    std::string empty = header;
    empty.replace(16, 4, BigEndian(0));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {PngWith(Chunk("tEXt", "a", 0x7FFFFFF0)),
         "not a readable PNG (chunk \"tEXt\" at byte 33 claims 2147483632 bytes, but the file "
         "holds " +
             std::to_string(rest.size() + 1) + " more)"},
        {PngWith(Chunk("zTXt", "", 0xFFFFFFF0)),
         "not a readable PNG (chunk \"zTXt\" at byte 33 claims 4294967280 bytes, over the PNG "
         "limit of 2147483647)"},
        {PngWith(Chunk("iTXt", "", 0x80000000)),
         "not a readable PNG (chunk \"iTXt\" at byte 33 claims 2147483648 bytes, over the PNG "
         "limit of 2147483647)"},
        {wide + rest, "20000 x 100 is over the 16384 x 16384 limit"},
        {empty + rest, "not a readable PNG (the header gives a size of 0 x 2 pixels)"},
        {"GIF89a", "not a readable PNG (the file does not start with the PNG signature)"},
        {header, "not a readable PNG (the file ends without the end chunk \"IEND\")"},
        {header + std::string(2, '\0'),
         "not a readable PNG (the file ends inside the chunk at byte 33)"},
        {good.substr(0, 8) + Chunk("IDAT", "", 0) + rest,
         "not a readable PNG (the first chunk is \"IDAT\", not the header \"IHDR\")"},
    };
    for (const auto& [png, reason] : cases) {
        WriteFileBytes(folder_.Path("bad.png"), AsBytes(png));
        folder_.Write("main.toml", "background = \"bad.png\"\n");
        EXPECT_EQ(
            Problems({"main.toml"}),
            std::vector<std::string>{"main.toml:1: picture \"bad.png\" cannot be used: " + reason});
    }
}

TEST_F(ToolMessagesTest, SoundPicturesKeepTheirLayoutAndSamples) {
    // An unknown ancillary chunk of plausible size is skipped, as PNG readers must.
    const std::string png = PngWith(Chunk("teSt", "abc", 3));
    EXPECT_EQ(PngStructureFault(AsBytes(png), 16384), std::nullopt);
    WriteFileBytes(folder_.Path("fine.png"), AsBytes(png));
    folder_.Write("main.toml", "background = \"fine.png\"\n");
    EXPECT_EQ(Problems({"main.toml"}), std::vector<std::string>{});
}

TEST_F(ToolMessagesTest, ProblemsAreReportedWhereTheyAreWithoutKnockOnErrors) {
    folder_.Write("main.toml",
                  "[[item]]\nkind = \"text\"\ntarget = \"help.mnu\"\n"
                  "[[item]]\nkind = \"text\"\ntarget = \"gone.mnu\"\n");
    folder_.Write("help.toml", "title = \n");
    folder_.Write("twice.toml", "name = \"main.mnu\"\n");
    folder_.Write("badname.toml", "name = \"help\"\n");
    folder_.Write("p1/package.toml", "menus = [\n  \"../solo.toml\",\n  \"../solo.toml\",\n]\n");
    folder_.Write("solo.toml", "title = \"Solo\"\n");
    folder_.Write("p2/package.toml", "");
    folder_.Write("p3/package.toml", "header_text = \"x\"\n");
    folder_.Write("p4/package.toml", "menus = []\n");
    const std::string missingValue = "help.toml:1: the value after \"=\" is missing";
    struct Case {
        std::vector<std::string> sources;
        std::vector<std::string> problems;
    };
    const std::vector<Case> cases = {
        {{"main.toml", "help.toml"}, {missingValue}},
        {{"main.toml", "badname.toml"},
         {"badname.toml:1: \"name\" must end in \".mnu\", hold at most 256 bytes, no \"/\" or "
          "\"\\\" and no blanks at either end"}},
        {{"main.toml", "twice.toml", "help.toml"},
         {missingValue, "twice.toml:1: the menu name \"main.mnu\" is already used by " +
                            PathToUtf8(folder_.Path("main.toml"))}},
        {{"main.toml", "twice.toml"},
         {"twice.toml:1: the menu name \"main.mnu\" is already used by " +
              PathToUtf8(folder_.Path("main.toml")),
          "main.toml:3: the menu target \"help.mnu\" names no menu of the package",
          "main.toml:6: the menu target \"gone.mnu\" names no menu of the package"}},
        {{"p1/package.toml"},
         {"package.toml:3: \"../solo.toml\" is listed in \"menus\" twice, first at line 2"}},
        {{"p2/package.toml"},
         {"package.toml:0: a package file needs \"menus\", the list of its menu source files, the "
          "first menu first"}},
        {{"p3/package.toml"},
         {"package.toml:0: a package file needs \"menus\", the list of its menu source files, the "
          "first menu first"}},
        {{"p4/package.toml"}, {"package.toml:0: the package holds no menu"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Problems(c.sources), c.problems) << c.sources.back();
}

TEST_F(ToolMessagesTest, OnlyABare32Or64BitPlayerIsTaken) {
    namespace pe = ambrevo::testing::pe_image;
    folder_.Write("main.toml", "title = \"Main\"\n");
    std::string amd64Pe32 = testing::BarePlayerImage();
    pe::PutNumber(amd64Pe32, pe::kFileHeader, 0x8664, 2);
    std::string arm = testing::BarePlayerImage();
    pe::PutNumber(arm, pe::kFileHeader, 0x1C0, 2);
    std::string arm64 = pe::Header64();
    pe::PutNumber(arm64, pe::kFileHeader, 0xAA64, 2);
    const std::string cut = testing::BarePlayerImage().substr(0, 0x50);
    const std::string notWindows =
        "is no Windows program; give a bare player, the 32-bit or the 64-bit ambrevo.exe";
    const std::string otherProcessor =
        "is a Windows program for another processor; give a bare player, the 32-bit or the "
        "64-bit ambrevo.exe";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\x89PNG\r\n\x1a\n", notWindows},
        {"MZ", notWindows},
        {cut, notWindows},
        {amd64Pe32, otherProcessor},
        {arm, otherProcessor},
        {arm64, otherProcessor},
        {testing::BarePlayerImage(), ""},
        {pe::Header64() + "64-bit player code", ""},
    };
    for (const auto& [bytes, message] : cases) {
        const auto player = folder_.Write("player.bin", bytes);
        std::filesystem::remove(folder_.Path("disc.exe"));
        std::ostringstream err;
        EXPECT_EQ(RunBuild({{folder_.Path("main.toml")},
                            player,
                            folder_.Path("disc.exe"),
                            true,
                            std::nullopt,
                            false},
                           err),
                  message.empty() ? 0 : 1);
        if (message.empty()) {
            // A disc of either player lists its menu.
            std::ostringstream out;
            EXPECT_EQ(RunList(folder_.Path("disc.exe"), out, err), 0) << err.str();
            EXPECT_NE(out.str().find("1. main.mnu"), std::string::npos) << out.str();
            continue;
        }
        EXPECT_EQ(err.str(), "error: \"" + PathToUtf8(player) + "\" " + message + "\n");
        EXPECT_FALSE(std::filesystem::exists(folder_.Path("disc.exe")));
    }
}

TEST_F(ToolMessagesTest, ListTellsABarePlayerFromADamagedPackage) {
    const std::string bare = testing::BarePlayerImage();
    folder_.Write("player.exe", bare);
    // A trailer that points at a package header with nothing sound after it.
    const auto place = static_cast<std::uint32_t>(bare.size() + 1);
    const std::string trailer = {static_cast<char>(place), static_cast<char>(place >> 8),
                                 static_cast<char>(place >> 16), static_cast<char>(place >> 24)};
    folder_.Write("damaged.exe", bare + "FPAK" + std::string(3, '\xFF') + trailer);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"player.exe", ": no menu package: this is a bare player"},
        {"damaged.exe", ": no readable menu package ("},
    };
    for (const auto& [file, message] : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunList(folder_.Path(file), out, err), 1);
        EXPECT_EQ(err.str().rfind("error: " + PathToUtf8(folder_.Path(file)) + message, 0), 0u)
            << err.str();
    }
}

}  // namespace
}  // namespace ambrevo::pack
