#include "pack/source/source_warnings.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pack/cli/commands.h"
#include "pack/common/file_io.h"
#include "pack/source/package_source.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

class SourceWarningsTest : public ::testing::Test {
protected:
    SourceWarningsTest() {
        folder_.WritePng("bg.png", 20, 10, 0x204060);
        folder_.WritePng("b4.png", 4, 4, 0xFF0000);
        folder_.WritePng("b5.png", 5, 4, 0x00FF00);
        // A 4 x 4 button whose corners are clear.
        std::vector<std::uint32_t> rounded(16, 0xFF00FF00);
        for (int corner : {0, 3, 12, 15}) rounded[static_cast<std::size_t>(corner)] = 0;
        folder_.WritePng("round.png", 4, 4, rounded);
        std::vector<std::uint32_t> holed(200, 0xFF204060);
        holed[0] = 0;
        folder_.WritePng("holed.png", 20, 10, holed);
    }

    // The warnings of one menu source, as "line: message", and that it has no errors.
    std::vector<std::string> Warnings(const std::string& toml) {
        Diagnostics diagnostics;
        PictureCache cache;
        ReadPackageSource({folder_.Write("main.toml", toml)}, cache, diagnostics);
        EXPECT_TRUE(diagnostics.Empty()) << FormatDiagnostic(diagnostics.All().front());
        std::vector<std::string> warnings;
        for (const Diagnostic& warning : SortedByFileAndLine(diagnostics.Warnings())) {
            EXPECT_TRUE(warning.warning);
            warnings.push_back(std::to_string(warning.line) + ": " + warning.message);
        }
        return warnings;
    }

    SourceFolder folder_;
};

TEST_F(SourceWarningsTest, WarnsOnceAtTheLineOfEachLikelySlip) {
    struct Case {
        const char* toml;
        std::vector<std::string> warnings;
    };
    const std::vector<Case> cases = {
        {"background = \"bg.png\"\n[[item]]\nposition = [2, 2]\n[item.pictures]\nnormal = "
         "\"b4.png\"\n",
         {}},
        {"title = \"empty\"\n",
         {"0: the menu has neither a background nor items: it shows an empty window"}},
        {"background = \"bg.png\"\n[shape]\n",
         {"2: the shape cuts nothing away: the window stays a plain rectangle"}},
        {"background = \"holed.png\"\n[shape]\n", {}},
        {"background = \"bg.png\"\n[shape]\ncut = \"color\"\ncolor = 1\n",
         {"2: the shape cuts nothing away: the window stays a plain rectangle"}},
        {"background = \"b4.png\"\n[shape]\ncut = \"color\"\ncolor = 12\n",
         {"2: the shape cuts the whole window away: nothing of it can be seen"}},
        {"background = \"bg.png\"\n[[item]]\nkind = \"picture\"\n",
         {"2: item 1 is a picture item without a normal picture: it shows nothing"}},
        {"background = \"bg.png\"\n[[item]]\nkind = \"button\"\nposition = [10, 0]\nsize = [10, "
         "10]\n[[item]]\nkind = \"text\"\nposition = [11, 0]\nsize = [10, 10]\n",
         {"6: item 2 (10 x 10 at 11, 0) lies partly outside the 20 x 10 window"}},
        {"background = \"bg.png\"\n[[item]]\nposition = [-4, 0]\n[item.pictures]\nnormal = "
         "\"b4.png\"\n[[item]]\nposition = [0, 10]\n[item.pictures]\nnormal = \"b4.png\"\n",
         {"2: item 1 (4 x 4 at -4, 0) lies outside the 20 x 10 window: it cannot be seen",
          "6: item 2 (4 x 4 at 0, 10) lies outside the 20 x 10 window: it cannot be seen"}},
        {"background = \"bg.png\"\n[[item]]\nposition = [-1, 7]\n[item.pictures]\nnormal = "
         "\"b4.png\"\n",
         {"2: item 1 (4 x 4 at -1, 7) lies partly outside the 20 x 10 window"}},
        {"background = \"bg.png\"\n[[item]]\n[item.pictures]\nnormal = \"b4.png\"\nhighlighted = "
         "\"b5.png\"\npressed = \"b4.png\"\ndescription = \"b5.png\"\n",
         {"5: the highlighted picture is 5 x 4 pixels, but the normal one is 4 x 4: the item "
          "changes size when its state changes"}},
        {"background = \"bg.png\"\n[[item]]\n[item.pictures]\nnormal_frames = [\"b4.png\"]\n"
         "pressed_frames = [\"b4.png\"]\n",
         {"2: item 1 is a picture item without a normal picture: it shows nothing"}},
        {"background = \"bg.png\"\n[[item]]\nposition = [16, 0]\n[item.pictures]\nnormal = "
         "\"round.png\"\n",
         {}},
        {"background = \"bg.png\"\n[[item]]\nposition = [17, 0]\n[item.pictures]\nnormal = "
         "\"round.png\"\n",
         {"2: item 1 (4 x 4 at 17, 0) lies partly outside the 20 x 10 window",
          "5: picture \"round.png\" lies partly outside the background; its transparent pixels "
          "there take the background colour #F0F0F0"}},
        {"background_color = \"#123456\"\n[[item]]\n[item.pictures]\nnormal = \"round.png\"\n"
         "[[item]]\n[item.pictures]\nnormal = \"b4.png\"\n",
         {"4: picture \"round.png\" has transparent pixels and the menu has no background; they "
          "take the background colour #123456"}},
        {"background = \"bg.png\"\n[description]\npicture_position = [18, 8]\n[[item]]\n"
         "[item.pictures]\nnormal = \"round.png\"\ndescription = \"round.png\"\n",
         {"7: picture \"round.png\" lies partly outside the background; its transparent pixels "
          "there take the background colour #F0F0F0"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Warnings(c.toml), c.warnings) << c.toml;
}

TEST_F(SourceWarningsTest, MenusNoOtherMenuSwitchesToAreNamedUnlessFirst) {
    folder_.Write("a.toml", "[[item]]\nkind = \"text\"\ntarget = \"b.mnu\"\n");
    folder_.Write("b.toml", "[[item]]\nkind = \"text\"\ntarget = \"B.MNU\"\n");
    folder_.Write("c.toml", "[[item]]\nkind = \"text\"\ntarget = \"a.mnu\"\n");
    Diagnostics diagnostics;
    PictureCache cache;
    ReadPackageSource({folder_.Path("a.toml"), folder_.Path("b.toml"), folder_.Path("c.toml")},
                      cache, diagnostics);
    EXPECT_TRUE(diagnostics.Empty());
    const std::string prefix =
        "\", and it is not the first: it shows only when the player is "
        "started with its name";
    EXPECT_EQ(diagnostics.Warnings(),
              (std::vector<Diagnostic>{{PathToUtf8(folder_.Path("c.toml")), 0,
                                        "no other menu switches to \"c.mnu" + prefix, true}}));
}

TEST_F(SourceWarningsTest, StrictTurnsWarningsIntoProblems) {
    const auto source = folder_.Write("main.toml", "title = \"empty\"\n");
    const std::string file = PathToUtf8(source);
    const std::string message =
        "the menu has neither a background nor items: it shows an "
        "empty window\n";
    struct Case {
        bool strict;
        int status;
        std::string err;
    };
    for (const Case& c : {Case{false, 0, file + ": warning: " + message},
                          Case{true, 1, file + ": " + message + "1 problem found\n"}}) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunCheck({source}, out, err, c.strict), c.status);
        EXPECT_EQ(err.str(), c.err);
    }
}

}  // namespace
}  // namespace ambrevo::pack
