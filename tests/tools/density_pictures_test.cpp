#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "pack/cli/commands.h"
#include "pack/common/file_io.h"
#include "pack/pictures/png_codec.h"
#include "pack/package/built_package.h"
#include "pack/writer/density_entry.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/writer/tagged_writer.h"
#include "player_image.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

constexpr std::uint32_t kClear = 0x00000000;

// A menu whose background has its own @2x and whose item's normal picture has an @2x and
// its highlighted picture an @1.5x (with no background drawn at 1.5): each has a clear
// top-left pixel, so that it shows what the variant was composed over.
class DensityPicturesTest : public ::testing::Test {
protected:
    DensityPicturesTest() {
        folder_.Write("player.exe", testing::BarePlayerImage());
        folder_.WritePng("art/bg.png", 4, 3, 0x204060);
        folder_.WritePng("art/bg@2x.png", 8, 6, 0x406080);
        folder_.WritePng("art/n.png", 2, 2, 0xFF0000);
        folder_.WritePng("art/n@2x.png", 4, 4, Clear(4, 4, 0x00FF00));
        folder_.WritePng("art/h.png", 2, 2, 0x0000FF);
        folder_.WritePng("art/h@1.5x.png", 3, 3, Clear(3, 3, 0x00FFFF));
        folder_.WritePng("art/h@2x.png", 5, 5, 0xFFFFFF);  // not twice h.png: left out
        folder_.Write("main.toml", R"(
background = "art/bg.png"
[[item]]
position = [2, 1]
[item.pictures]
normal = "art/n.png"
highlighted = "art/h.png"
)");
    }

    static std::vector<std::uint32_t> Clear(int width, int height, std::uint32_t rgb) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height),
                                          0xFF000000u | rgb);
        pixels[0] = kClear;
        return pixels;
    }

    int Build(const std::string& source, const std::string& output) {
        return RunBuild({.sources = {folder_.Path(source)},
                         .player = folder_.Path("player.exe"),
                         .output = folder_.Path(output),
                         .quiet = true},
                        err_);
    }

    std::string ReadTextOf(const std::string& name) {
        const std::vector<std::uint8_t> bytes = ReadFileBytes(folder_.Path(name));
        return {bytes.begin(), bytes.end()};
    }

    SourceFolder folder_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(DensityPicturesTest, VariantsAreStoredComposedOverTheBackgroundAtTheirDensity) {
    ASSERT_EQ(Build("main.toml", "menu.exe"), 0) << err_.str();
    const BuiltPackage built = ReadBuiltPackage(folder_.Path("menu.exe"));
    ASSERT_EQ(built.menus.size(), 1u);
    EXPECT_EQ(built.densityProblem, "");
    // percent, record, set, frame, width, height, top-left pixel
    using Stored = std::tuple<int, int, int, int, int, int, std::uint32_t>;
    std::vector<Stored> stored;
    for (const DensityPicture& picture : built.menus[0].densityPictures) {
        stored.emplace_back(picture.percent, picture.record, picture.set, picture.frame,
                            picture.bitmap->width, picture.bitmap->height,
                            picture.bitmap->At(0, 0));
    }
    const std::vector<Stored> expected = {
        // The 1.5x picture over the background scaled smoothly (here: its one colour).
        {150, 1, 1, 0, 3, 3, 0x204060},
        {200, 0, 0, 0, 8, 6, 0x406080},
        // The 2x picture over the background's own 2x.
        {200, 1, 0, 0, 4, 4, 0x406080},
    };
    EXPECT_EQ(stored, expected);
}

// In both layouts of pictures: raw pixels (version 6) and zlib streams (version 7).
TEST_F(DensityPicturesTest, ListExtractAndBuildAgainKeepTheVariants) {
    for (const int version : {6, 7}) {
        SCOPED_TRACE(version);
        const std::string source = ReadTextOf("main.toml");
        folder_.Write("versioned.toml",
                      "name = \"main.mnu\"\nversion = " + std::to_string(version) + "\n" + source);
        std::filesystem::remove_all(folder_.Path("out"));
        out_.str("");
        ASSERT_EQ(Build("versioned.toml", "first.exe"), 0) << err_.str();
        ASSERT_EQ(RunList(folder_.Path("first.exe"), out_, err_), 0) << err_.str();
        EXPECT_NE(out_.str().find("background 4 x 3 [@2x],"), std::string::npos) << out_.str();
        EXPECT_NE(out_.str().find("[normal 1, highlighted 1, @1.5x, @2x]"), std::string::npos)
            << out_.str();

        err_.str("");
        ASSERT_EQ(RunExtract(folder_.Path("first.exe"), folder_.Path("out"), std::nullopt, err_), 0)
            << err_.str();
        EXPECT_EQ(err_.str(), "");
        for (const char* file : {"out/main/background@2x.png", "out/main/item001_normal@2x.png",
                                 "out/main/item001_highlighted@1.5x.png"}) {
            EXPECT_TRUE(std::filesystem::is_regular_file(folder_.Path(file))) << file;
        }
        EXPECT_FALSE(std::filesystem::exists(folder_.Path("out/main/item001_highlighted@2x.png")));

        ASSERT_EQ(Build("out/package.toml", "second.exe"), 0) << err_.str();
        EXPECT_EQ(ReadFileBytes(folder_.Path("second.exe")),
                  ReadFileBytes(folder_.Path("first.exe")));
    }
}

TEST_F(DensityPicturesTest, PreviewDrawsAtTheScaleFromVariantsOrSmoothlyScaledPictures) {
    struct Case {
        const char* what;
        const char* scale;  // suffix of the density; "" for 1x
        int highlight;
        int width, height;  // of the window
        int x, y;           // a pixel
        std::uint32_t expected;
    };
    const std::vector<Case> cases = {
        {"1x: the item at its place", "", 0, 4, 3, 2, 1, 0xFF0000},
        {"2x: the background's own variant", "@2x", 0, 8, 6, 0, 0, 0x406080},
        {"2x: the item's variant where its place doubles", "@2x", 0, 8, 6, 5, 2, 0x00FF00},
        {"2x: its clear corner shows the background's variant", "@2x", 0, 8, 6, 4, 2, 0x406080},
        {"1.5x: the background scaled smoothly", "@1.5x", 0, 6, 5, 0, 0, 0x204060},
        {"1.5x: the normal picture, which has no variant, scaled", "@1.5x", 0, 6, 5, 5, 4,
         0xFF0000},
        {"1.5x: the highlighted picture's variant", "@1.5x", 1, 6, 5, 4, 2, 0x00FFFF},
        {"2x: the highlighted picture's misfit variant left out", "@2x", 1, 8, 6, 7, 5, 0x0000FF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PreviewOptions options{
            folder_.Path("main.toml"), folder_.Path("preview.png"), {}, c.highlight, nullptr};
        for (const DensityScale& scale : kDensityScales) {
            if (scale.suffix == c.scale) options.scale = &scale;
        }
        ASSERT_EQ(RunPreview(options, err_), 0) << err_.str();
        const PngPicture preview = DecodePng(ReadFileBytes(folder_.Path("preview.png")));
        ASSERT_EQ(preview.bitmap->width, c.width);
        ASSERT_EQ(preview.bitmap->height, c.height);
        EXPECT_EQ(preview.bitmap->At(c.x, c.y), c.expected);
    }
}

TEST_F(DensityPicturesTest, VariantsOverABackgroundTooLargeToScaleAreLeftOut) {
    folder_.WritePng("wide.png", 10923, 1, 0x204060);  // 1.5 times: 16385 pixels
    folder_.WritePng("dot.png", 1, 1, 0xFF0000);
    folder_.WritePng("dot@1.5x.png", 2, 2, 0x00FF00);
    folder_.Write("wide.toml", R"(
background = "wide.png"
[[item]]
[item.pictures]
normal = "dot.png"
)");
    ASSERT_EQ(Build("wide.toml", "wide.exe"), 0) << err_.str();
    EXPECT_NE(err_.str().find("wide.toml:5: warning: picture \"dot@1.5x.png\" is left out: the "
                              "background 1.5 times its size would be larger than 16384 "
                              "pixels; draw its own variant"),
              std::string::npos)
        << err_.str();
    EXPECT_TRUE(ReadBuiltPackage(folder_.Path("wide.exe")).menus[0].densityPictures.empty());
}

// A package whose menu is followed by a damaged table of pictures for high density.
TEST_F(DensityPicturesTest, DamagedTablesAreNamedAndNotExtracted) {
    struct Case {
        const char* what;
        std::int32_t menus, version, pictures, percent;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {"negative menu count", -1, 7, 1, 200, "the menu count is damaged"},
        {"unknown version", 1, 8, 1, 200, "the entry of a menu is damaged"},
        {"too many pictures", 1, 7, kMaxPictureRecords + 1, 200, "the picture count is damaged"},
        {"unknown scale", 1, 7, 1, 300, "a picture's scale is damaged"},
        {"record cut short", 1, 7, 1, 200,
         "a picture record is damaged or outside the picture table"},
    };
    MenuDefinition menu;
    const std::vector<std::uint8_t> body = WriteMenuBody(menu, kLatestMenuVersion);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TaggedWriter table;
        table.WriteInteger(c.menus);
        table.WriteString("main.mnu");
        table.WriteInteger(c.version);
        table.WriteInteger(c.pictures);
        table.WriteInteger(c.percent);
        const std::vector<PackageEntryData> entries = {{"main.mnu", body},
                                                       {kDensityEntryName, table.TakeBytes()}};
        const std::string player = testing::BarePlayerImage();
        const std::vector<std::uint8_t> program =
            WritePackage(std::vector<std::uint8_t>(player.begin(), player.end()), entries);
        WriteFileBytes(folder_.Path("damaged.exe"), program);

        const BuiltPackage built = ReadBuiltPackage(folder_.Path("damaged.exe"));
        EXPECT_EQ(built.densityProblem, c.problem);
        ASSERT_EQ(built.menus.size(), 1u);
        EXPECT_NE(built.menus[0].menu, nullptr);
        out_.str("");
        EXPECT_EQ(RunList(folder_.Path("damaged.exe"), out_, err_), 1);
        err_.str("");
        std::filesystem::remove_all(folder_.Path("out"));
        EXPECT_EQ(RunExtract(folder_.Path("damaged.exe"), folder_.Path("out"), std::nullopt, err_),
                  1);
        EXPECT_EQ(err_.str(),
                  "error: the pictures for high density cannot be extracted: " + c.problem + "\n");
    }
}

}  // namespace
}  // namespace ambrevo::pack
