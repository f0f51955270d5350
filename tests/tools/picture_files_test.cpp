#include "pack/editor/picture_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

// The chooser offers what the page may name: the disc listing's rule, applied to files and
// to the folders they lie in. Names Windows refuses can be made only on Linux.
TEST(PictureFilesTest, PictureFiles_OffersOnlyNamesTheRuleLetsThrough) {
    struct Case {
        std::string file;
        bool offered;
    };
    const std::vector<Case> cases = {
        {"back.png", true},
        {"sub/item.png", true},
        {"CON.png", false},
        {"pictures/lpt1/item.png", false},
        {"late.png.", false},
        {"latin\xE9.png", false},  // not UTF-8: no JSON text could carry it
        {"$RECYCLE.BIN/deleted.png", false},
        {"#drafts#/draft.png", false},
        {"old~/draft.png", false},
        {".cache/thumb.png", false},
    };
    SourceFolder folder;
    std::vector<std::string> offered;
    for (const Case& c : cases) {
        folder.WritePng(c.file, 4, 3, 0x102030);
        if (c.offered) offered.push_back(c.file);
    }
    const nlohmann::json pictures = PictureFiles(folder.Path(""));
    std::vector<std::string> listed;
    for (const nlohmann::json& picture : pictures["pictures"]) listed.push_back(picture["file"]);
    EXPECT_EQ(listed, offered);
    EXPECT_NO_THROW(pictures.dump());
}

}  // namespace
}  // namespace ambrevo::pack
