#include "pack/pictures/density_variants.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/source/package_source.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

// The warnings of a menu whose background is pictures/bg.png (20 x 10) and whose item shows
// b5.png (5 x 4), beside the variants written, as "line: message".
struct Variant {
    std::string name;
    int width = 0;  // 0: a file that is no PNG
    int height = 0;
};

std::vector<std::string> WarningsWith(SourceFolder& folder, const std::vector<Variant>& variants) {
    folder.WritePng("pictures/bg.png", 20, 10, 0x204060);
    folder.WritePng("b5.png", 5, 4, 0x00FF00);
    for (const Variant& variant : variants) {
        if (variant.width == 0) {
            folder.Write(variant.name, "not a picture");
        } else {
            folder.WritePng(variant.name, variant.width, variant.height, 0x808080);
        }
    }
    Diagnostics diagnostics;
    PictureCache cache;
    ReadPackageSource({folder.Write("main.toml",
                                    "background = \"pictures/bg.png\"\n[[item]]\n"
                                    "[item.pictures]\nnormal = \"b5.png\"\n")},
                      cache, diagnostics);
    EXPECT_TRUE(diagnostics.Empty());
    std::vector<std::string> warnings;
    for (const Diagnostic& warning : SortedByFileAndLine(diagnostics.Warnings())) {
        warnings.push_back(std::to_string(warning.line) + ": " + warning.message);
    }
    return warnings;
}

TEST(DensityVariantsTest, WarnsOfVariantsNotAtTheirPicturesScaledSize) {
    struct Case {
        std::vector<Variant> variants;
        std::vector<std::string> warnings;
    };
    const std::vector<Case> cases = {
        {{}, {}},
        {{{"pictures/bg@2x.png", 40, 20},
          {"pictures/bg@1.5x.png", 30, 15},
          {"b5@2x.png", 10, 8},
          {"b5@1.5x.png", 8, 6}},
         {}},
        {{{"pictures/bg@2x.png", 42, 21}},
         {"1: picture \"pictures/bg@2x.png\" is 42 x 21, but twice \"pictures/bg.png\" (20 x "
          "10) is 40 x 20"}},
        {{{"b5@1.5x.png", 10, 8}},
         {"4: picture \"b5@1.5x.png\" is 10 x 8, but 1.5 times \"b5.png\" (5 x 4) is 8 x 6"}},
        {{{"b5@2x.png"}},
         {"4: picture \"b5@2x.png\" cannot be used: not a readable PNG (the file does not start "
          "with the PNG signature)"}},
    };
    for (const Case& c : cases) {
        SourceFolder folder;
        EXPECT_EQ(WarningsWith(folder, c.variants), c.warnings);
    }
}

}  // namespace
}  // namespace ambrevo::pack
