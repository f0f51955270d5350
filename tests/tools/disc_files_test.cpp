#include "pack/common/disc_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

// One name rule decides both what files.json lists and what /disc/ serves.
TEST(DiscFilesTest, ListAndFind_PublishTheSameNamesAndWarnOfThoseThePageCannotServe) {
    struct Case {
        std::string file;  // below the disc folder
        bool published;
        std::string warning;  // expected for a name left out with a reason; "" for none
    };
    const std::string onDisc = ", which no file name on a Windows disc holds";
    const std::vector<Case> cases = {
        {"readme.txt", true, ""},
        {"docs/guide.txt", true, ""},
        {"Кафе.txt", true, ""},
        {"Track 1 - Intro.mp3", true, ""},
        {".env", false, ""},
        {".git/config", false, ""},
        {"docs/.DS_Store", false, ""},
        {"docs/.cache/page.txt", false, ""},
        {"notes.txt~", false, ""},
        {"docs/#notes.txt#", false, ""},
        {"Thumbs.db", false, ""},
        {"docs/Desktop.INI", false, ""},
        {"$RECYCLE.BIN/S-1-5-21/readme.txt", false, ""},
        {"CON.txt", false,
         "warning: disc file \"CON.txt\" left out: its name is kept by Windows for a device"},
        {"docs/lpt1", false,
         "warning: disc file \"docs/lpt1\" left out: its name is kept by Windows for a device"},
        {"notes.", false,
         "warning: disc file \"notes.\" left out: its name ends in a dot, which Windows drops"},
        {"aux /readme.txt", false,
         "warning: disc folder \"aux \" left out with its files: its name is kept by Windows "
         "for a device"},
        {"Track 1: Intro.mp3", false,
         "warning: disc file \"Track 1: Intro.mp3\" left out: its name holds \":\"" + onDisc},
        {"docs/back\\slash.txt", false,
         "warning: disc file \"docs/back\\slash.txt\" left out: its name holds \"\\\"" + onDisc},
        {"what?.txt", false,
         "warning: disc file \"what?.txt\" left out: its name holds \"?\"" + onDisc},
        {"tab\there.txt", false,
         "warning: disc file \"tab\there.txt\" left out: its name holds a control character" +
             onDisc},
        {"a:b/inner.txt", false,
         "warning: disc folder \"a:b\" left out with its files: its name holds \":\"" + onDisc},
        {"latin\xE9.txt", false,
         "warning: disc file \"latin\xE9.txt\" left out: its name is not UTF-8 text, which the "
         "page cannot ask for"},
    };
    SourceFolder folder;
    for (const Case& c : cases) folder.Write("disc/" + c.file, c.file);
    // A link publishes nothing that its target's own name would not, nor anything outside.
    std::filesystem::create_symlink(folder.Path("disc/.env"), folder.Path("disc/env.txt"));
    std::filesystem::create_symlink(folder.Path("disc/.git"), folder.Path("disc/git"));
    folder.Write("private/secret.txt", "secret");
    std::filesystem::create_directory_symlink(folder.Path("private"), folder.Path("disc/out"));
    std::filesystem::create_symlink(folder.Path("private/secret.txt"),
                                    folder.Path("disc/secret.txt"));
    const DiscListing listing = ListDiscFiles(folder.Path("disc"));

    std::vector<std::string> warnings;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const bool listed =
            std::find(listing.files.begin(), listing.files.end(), c.file) != listing.files.end();
        EXPECT_EQ(listed, c.published);
        const DiscFile found = FindDiscFile(folder.Path("disc"), c.file);
        EXPECT_EQ(found.lookup, c.published ? DiscLookup::kFound : DiscLookup::kRefused);
        if (!c.warning.empty()) warnings.push_back(c.warning);
    }
    EXPECT_THAT(listing.warnings, ::testing::UnorderedElementsAreArray(warnings));
    for (const std::string link : {"env.txt", "git/config", "out/secret.txt", "secret.txt"}) {
        SCOPED_TRACE(link);
        EXPECT_EQ(std::count(listing.files.begin(), listing.files.end(), link), 0);
        EXPECT_EQ(FindDiscFile(folder.Path("disc"), link).lookup, DiscLookup::kRefused);
    }

    // Without a disc folder nothing is listed, and nothing is found.
    EXPECT_TRUE(ListDiscFiles(std::nullopt).files.empty());
    EXPECT_EQ(FindDiscFile(std::nullopt, "readme.txt").lookup, DiscLookup::kMissing);
}

}  // namespace
}  // namespace ambrevo::pack
