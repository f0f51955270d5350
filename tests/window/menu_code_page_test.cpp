#include <gtest/gtest.h>

#include "pack/writer/tagged_writer.h"
#include "window_test_support.h"

namespace ambrevo {
namespace {

// A menu whose title, caption, description and target are the given stored bytes.
MenuDefinition MenuOfBytes(const std::string& text, const std::string& target) {
    MenuDefinition menu = testing::PictureMenu(1);
    menu.title = text;
    menu.items[0].kind = 2;
    menu.items[0].caption = "&" + text;
    menu.items[0].description = text;
    menu.items[0].target = target;
    return menu;
}

// The code-page entry with the given values written in turn.
std::vector<std::uint8_t> CodePageEntry(const std::vector<std::pair<std::string, int>>& menus) {
    pack::TaggedWriter out;
    out.WriteInteger(static_cast<std::int32_t>(menus.size()));
    for (const auto& [name, codePage] : menus) {
        out.WriteString(name);
        out.WriteLong(codePage);
    }
    return out.TakeBytes();
}

// The first name's tag made that of an integer.
std::vector<std::uint8_t> WrongNameKind(std::vector<std::uint8_t> bytes) {
    bytes[9] = 2;
    return bytes;
}

class MenuCodePageTest : public testing::WindowTest {
protected:
    void Install(std::vector<std::uint8_t> table) {
        InstallEntries({{"main.mnu", pack::WriteMenuBody(MenuOfBytes("\xCA\xE0\xF4\xE5", "*"),
                                                         pack::kLatestMenuVersion)},
                        {"Caf\xE9.mnu", pack::WriteMenuBody(MenuOfBytes("Caf\xE9", "caf\xE9.mnu"),
                                                            pack::kLatestMenuVersion)},
                        {"codepages.dat", std::move(table)}});
    }
};

TEST_F(MenuCodePageTest, TextsAreDecodedFromTheCodePageTheirMenuDeclares) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> table;
        const char* mainText;  // "Кафе" in Windows-1251, or as Windows-1252 reads it
        std::vector<std::uint32_t> asked;
    };
    const std::vector<Case> cases = {
        {"declared", CodePageEntry({{"MAIN.mnu", 1251}}), "Кафе", {1251, 1251, 1251}},
        {"other menu declared", CodePageEntry({{"second.mnu", 1251}}), "Êàôå", {0, 0, 0}},
        {"none declared", CodePageEntry({}), "Êàôå", {0, 0, 0}},
        // A damaged table declares nothing and is no error of the menu.
        {"count of the wrong kind", {4, 1, 0, 0, 0, 1}, "Êàôå", {0, 0, 0}},
        {"a name of the wrong kind",
         WrongNameKind(CodePageEntry({{"main.mnu", 1251}})),
         "Êàôå",
         {0, 0, 0}},
    };
    for (const Case& c : cases) {
        text_.asked.clear();
        dialogs_.shown.clear();
        Install(c.table);
        window_.LoadMenu("main.mnu");
        EXPECT_EQ(Form().Caption(), c.mainText) << c.name;
        EXPECT_EQ(Item(1).label->Caption(), std::string("&") + c.mainText) << c.name;
        EXPECT_EQ(window_.Definition().items[0].description, c.mainText) << c.name;
        EXPECT_EQ(text_.asked, c.asked) << c.name;  // ASCII texts are never decoded
        EXPECT_TRUE(dialogs_.shown.empty()) << c.name;
    }
}

TEST_F(MenuCodePageTest, AMenuTargetKeepsItsStoredBytesForTheEntryLookup) {
    Install(CodePageEntry({}));
    window_.LoadMenu("caf\xE9.mnu");
    const MenuItem& item = window_.Definition().items[0];
    EXPECT_EQ(Form().Caption(), "Café");
    EXPECT_EQ(item.target, "café.mnu");
    EXPECT_EQ(item.StoredTarget(), "caf\xE9.mnu");
    window_.LoadMenu("main.mnu");
    EXPECT_EQ(window_.Definition().items[0].StoredTarget(), "*");
}

}  // namespace
}  // namespace ambrevo
