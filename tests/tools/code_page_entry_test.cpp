#include "pack/writer/code_page_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "opened_package.h"
#include "support/byte_builder.h"
#include "support/menu_code_pages.h"

namespace ambrevo::pack {
namespace {

using ambrevo::testing::ByteBuilder;

std::string Str(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// The name of "ヘルプ.mnu" in code page 932.
const std::string kJapaneseName = "\x83\x77\x83\x8B\x83\x76.mnu";

TEST(CodePageEntryTest, HoldsTheCountThenNameAndCodePageOfEachDeclaringMenu) {
    const std::vector<MenuCodePage> menus = {{"main.mnu", 1251},
                                             {"plain.mnu", kSystemCodePage},
                                             {kJapaneseName, 932},
                                             {"utf.mnu", 65001}};
    const std::optional<PackageEntryData> entry = CodePageEntry(menus);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "codepages.dat");
    ByteBuilder expected;
    expected.Bytes({2}).Le32(2).Le32(3);  // WriteInteger: tag 2, size field 2, four bytes
    expected.Bytes({4}).Le32(8).Text("main.mnu").Bytes({3}).Le32(4).Le32(1251);
    expected.Bytes({4}).Le32(10).Text(kJapaneseName).Bytes({3}).Le32(4).Le32(932);
    expected.Bytes({4}).Le32(7).Text("utf.mnu").Bytes({3}).Le32(4).Le32(65001);
    EXPECT_EQ(Str(entry->data), expected.Str());
}

TEST(CodePageEntryTest, NoEntryWhenNoMenuDeclaresOne) {
    EXPECT_FALSE(CodePageEntry({}));
    const std::vector<MenuCodePage> none = {{"a.mnu", 0}, {"b.mnu", 0}};
    EXPECT_FALSE(CodePageEntry(none));
}

// The player's own reader finds the entry among the menus and reads each menu's code page.
TEST(CodePageEntryTest, ThePlayerReadsTheDeclarations) {
    const std::vector<MenuCodePage> menus = {
        {"main.mnu", 1251}, {"plain.mnu", 0}, {kJapaneseName, 932}};
    std::vector<PackageEntryData> entries;
    for (const MenuCodePage& menu : menus) entries.push_back({menu.entryName, {'x'}});
    entries.push_back(*CodePageEntry(menus));
    testing::OpenedPackage opened(WritePackage(std::vector<std::uint8_t>{'M', 'Z'}, entries));
    const MenuPackage& package = opened.package;

    ASSERT_FALSE(opened.loadError.IsSet());
    EXPECT_EQ(package.Directory()[3].name, "codepages.dat");
    EXPECT_EQ(package.CodePages().Of("main.mnu"), 1251u);
    EXPECT_EQ(package.CodePages().Of("plain.mnu"), kSystemCodePage);
    EXPECT_EQ(package.CodePages().Of(kJapaneseName), 932u);
}

}  // namespace
}  // namespace ambrevo::pack
