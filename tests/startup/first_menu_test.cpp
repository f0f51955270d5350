#include "startup/first_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/language_codes.h"

namespace ambrevo {
namespace {

PackageDirectory Directory(const std::vector<std::string>& names) {
    PackageDirectory directory{};
    for (std::size_t i = 0; i < names.size(); ++i) directory[i].name = names[i];
    return directory;
}

TEST(FirstMenuTest, TakesTheArgumentsFileNamePartOrElseSlotOne) {
    const PackageDirectory directory = Directory({"main.mnu", "second.mnu"});
    const struct {
        const char* argument;
        const char* name;
    } cases[] = {
        {"", "main.mnu"},
        {"Second.mnu", "Second.mnu"},
        {"D:\\menus\\Second.mnu", "Second.mnu"},
        {"D:Second.mnu", "Second.mnu"},
        {"a:b\\c:d\\e:Third.mnu", "Third.mnu"},
        {"\\\\server\\share\\x.mnu", "x.mnu"},
        {"D:\\menus\\", ""},
        {"my menus/Second.mnu", "my menus/Second.mnu"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseFirstMenuName(c.argument, directory, {}, {}), c.name) << c.argument;
    }
}

TEST(FirstMenuTest, TheFirstOfTheUsersLanguagesWithAMenuChoosesIt) {
    const PackageDirectory directory = Directory(
        {"main.mnu", "main-de.mnu", "main-fr.mnu", "languages.dat", "names.dat", "density.dat"});
    const LanguageTable languages({{"de", "main-de.mnu"},
                                   {"pt", "names.dat"},  // a damaged table: no menu
                                   {"nl", "density.dat"},
                                   {"fr", "main-fr.mnu"},
                                   {"it", "main-it.mnu"},  // not in the package
                                   {"en", "main.mnu"}});
    const struct {
        std::string argument;
        std::vector<std::string> codes;
        std::string name;
    } cases[] = {
        {"", {"de"}, "main-de.mnu"},
        {"", {"ja", "fr", "de"}, "main-fr.mnu"},
        {"", {"en", "de"}, "main.mnu"},
        {"", {"ja"}, "main.mnu"},
        {"", {}, "main.mnu"},
        {"", {"it"}, "main.mnu"},
        {"", {"it", "de"}, "main-de.mnu"},
        {"", {"pt", "fr"}, "main-fr.mnu"},
        {"", {"nl", "de"}, "main-de.mnu"},
        {"", {"DE", "d"}, "main.mnu"},  // codes come reduced; anything else matches nothing
        {"second.mnu", {"de"}, "second.mnu"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseFirstMenuName(c.argument, directory, languages, c.codes), c.name)
            << ::testing::PrintToString(c.codes);
    }
    EXPECT_EQ(ChooseFirstMenuName("", directory, {}, std::vector<std::string>{"de"}), "main.mnu");
}

TEST(LanguageCodesTest, ReducesTagsToTwoLetterCodesInOrderEachOnce) {
    const struct {
        std::vector<std::string> tags;
        std::vector<std::string> codes;
    } cases[] = {
        {{"de-DE", "en-US", "en", "fr"}, {"de", "en", "fr"}},
        {{"de_DE.UTF-8", "DE", "pt-BR"}, {"de", "pt"}},
        {{"zh-Hant-TW", "fil", "*", "", "-de", "e", "d1"}, {"zh"}},
        {{"sr@latin", "ja.eucJP"}, {"sr", "ja"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageCodesOf(c.tags), c.codes) << ::testing::PrintToString(c.tags);
    }
}

}  // namespace
}  // namespace ambrevo
