#include "pack/common/file_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pack/common/pack_error.h"
#include "pack/editor/new_menu_file.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

// Each name goes through the one rule that the disc listing, the picture chooser and new
// files share: hidden silently, refused with a reason, or published.
TEST(FileNamesTest, CheckPublishedName_HidesKeepsBackAndRefusesWhatAWindowsDiscCannotHold) {
    struct Case {
        std::string name;
        NameVerdict verdict;
        std::string reason;
    };
    const std::string device = "its name is kept by Windows for a device";
    const std::string onDisc = ", which no file name on a Windows disc holds";
    const std::vector<Case> cases = {
        {"readme.txt", NameVerdict::kPublished, ""},
        {"Кафе.txt", NameVerdict::kPublished, ""},
        {"#1 hit.mp3", NameVerdict::kPublished, ""},
        {"#", NameVerdict::kPublished, ""},
        {"console.txt", NameVerdict::kPublished, ""},
        {"conin.txt", NameVerdict::kPublished, ""},
        {"com10.txt", NameVerdict::kPublished, ""},
        {"lpt.txt", NameVerdict::kPublished, ""},
        {"comx", NameVerdict::kPublished, ""},
        {"nul-2.txt", NameVerdict::kPublished, ""},
        {"com\xC2\xB4", NameVerdict::kPublished, ""},  // an acute accent is no superscript
        {"notes.con", NameVerdict::kPublished, ""},
        {"thumbs.db.old", NameVerdict::kPublished, ""},
        {"a .txt", NameVerdict::kPublished, ""},
        {"CON", NameVerdict::kUnservable, device},
        {"con.txt", NameVerdict::kUnservable, device},
        {"Nul.tar.gz", NameVerdict::kUnservable, device},
        {"AUX .txt", NameVerdict::kUnservable, device},
        {"prn.", NameVerdict::kUnservable, device},
        {"com1", NameVerdict::kUnservable, device},
        {"COM0.log", NameVerdict::kUnservable, device},
        {"LPT9.doc", NameVerdict::kUnservable, device},
        {"com\xC2\xB9.txt", NameVerdict::kUnservable, device},
        {"LPT\xC2\xB3", NameVerdict::kUnservable, device},
        {"CONIN$", NameVerdict::kUnservable, device},
        {"conout$.log", NameVerdict::kUnservable, device},
        {"notes.", NameVerdict::kUnservable, "its name ends in a dot, which Windows drops"},
        {"notes..", NameVerdict::kUnservable, "its name ends in a dot, which Windows drops"},
        {"notes ", NameVerdict::kUnservable, "its name ends in a space, which Windows drops"},
        {"notes. ", NameVerdict::kUnservable, "its name ends in a space, which Windows drops"},
        {"", NameVerdict::kUnservable, "its name is empty"},
        {"a|b", NameVerdict::kUnservable, "its name holds \"|\"" + onDisc},
        {"bell\x07", NameVerdict::kUnservable, "its name holds a control character" + onDisc},
        {"latin\xE9.txt", NameVerdict::kUnservable,
         "its name is not UTF-8 text, which the page cannot ask for"},
        {".", NameVerdict::kHidden, ""},
        {"..", NameVerdict::kHidden, ""},
        {".git", NameVerdict::kHidden, ""},
        {".DS_Store", NameVerdict::kHidden, ""},
        {".#notes.txt", NameVerdict::kHidden, ""},
        {".notes.txt.swp", NameVerdict::kHidden, ""},
        {"notes.txt~", NameVerdict::kHidden, ""},
        {"#notes.txt#", NameVerdict::kHidden, ""},
        {"Thumbs.db", NameVerdict::kHidden, ""},
        {"THUMBS.DB", NameVerdict::kHidden, ""},
        {"desktop.ini", NameVerdict::kHidden, ""},
        {"Desktop.Ini", NameVerdict::kHidden, ""},
        {"$Recycle.Bin", NameVerdict::kHidden, ""},
        {"System Volume Information", NameVerdict::kHidden, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.name + "\"");
        const NameCheck check = CheckPublishedName(c.name);
        EXPECT_EQ(check.verdict, c.verdict);
        EXPECT_EQ(check.reason, c.reason);
    }
}

// The designer's new menu file gets the Windows rule with a plain message; on Windows a
// device name must be refused as such, not taken for a file that exists.
TEST(FileNamesTest, CheckNewMenuFile_RefusesNamesAWindowsDiscCannotHold) {
    struct Case {
        std::string name;
        std::string error;  // "" when the name is taken
    };
    const std::vector<Case> cases = {
        {"help.toml", ""},
        {"Кафе.toml", ""},
        {"CON.toml", "\"CON.toml\" is kept by Windows for a device; choose another name"},
        {"lpt1.toml", "\"lpt1.toml\" is kept by Windows for a device; choose another name"},
        {"nul .toml", "\"nul .toml\" is kept by Windows for a device; choose another name"},
        {"a*b.toml",
         "\"a*b.toml\" holds \"*\", which no file name on a Windows disc holds; choose another "
         "name"},
        {"main.toml", "\"main.toml\" exists already: choose another name"},
    };
    SourceFolder folder;
    folder.Write("main.toml", "title = \"Main\"\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        try {
            CheckNewMenuFile(folder.Path(""), c.name);
        } catch (const PackError& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error);
    }
}

}  // namespace
}  // namespace ambrevo::pack
