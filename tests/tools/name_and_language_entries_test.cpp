#include "pack/writer/name_and_language_entries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "opened_package.h"
#include "support/byte_builder.h"

namespace ambrevo::pack {
namespace {

using ambrevo::testing::AsBytes;
using ambrevo::testing::ByteBuilder;

// A program whose package holds the menus (their bodies do not matter here) and the table.
testing::OpenedPackage PackageWith(const PackageEntryData& table) {
    const std::vector<PackageEntryData> entries = {
        {"main.mnu", {'x'}}, {"main-de.mnu", {'x'}}, table};
    return testing::OpenedPackage(WritePackage(std::vector<std::uint8_t>{'M', 'Z'}, entries));
}

TEST(LanguageEntryTest, HoldsTheCountThenCodeAndMenuOfEachLanguage) {
    const std::vector<LanguageMenu> languages = {{"de", "main-de.mnu"}, {"fr", "main-fr.mnu"}};
    const std::optional<PackageEntryData> entry = LanguageEntry(languages);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "languages.dat");
    ByteBuilder expected;
    expected.Bytes({2}).Le32(2).Le32(2);
    expected.Bytes({4}).Le32(2).Text("de").Bytes({4}).Le32(11).Text("main-de.mnu");
    expected.Bytes({4}).Le32(2).Text("fr").Bytes({4}).Le32(11).Text("main-fr.mnu");
    EXPECT_EQ(entry->data, AsBytes(expected.Str()));
    EXPECT_FALSE(LanguageEntry({}));

    const testing::OpenedPackage opened = PackageWith(*entry);
    ASSERT_FALSE(opened.loadError.IsSet());
    ASSERT_EQ(opened.package.Languages().All().size(), 2u);
    EXPECT_EQ(*opened.package.Languages().MenuFor("de"), "main-de.mnu");
    EXPECT_EQ(*opened.package.Languages().MenuFor("fr"), "main-fr.mnu");
    EXPECT_EQ(opened.package.Languages().MenuFor("en"), nullptr);
}

TEST(ItemNameEntryTest, HoldsEachNamedItemOfEachMenuAndThePlayerReadsThem) {
    MenuDefinition main;
    main.items.resize(3);
    main.items[0].name = "Install";
    main.items[2].name = "Read \xE9";
    MenuDefinition second;
    second.items.resize(1);
    std::vector<ItemName> names;
    CollectItemNames("main.mnu", main, names);
    CollectItemNames("main-de.mnu", second, names);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_FALSE(ItemNameEntry({}));

    const std::optional<PackageEntryData> entry = ItemNameEntry(names);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "names.dat");
    ByteBuilder expected;
    expected.Bytes({2}).Le32(2).Le32(2);
    expected.Bytes({4}).Le32(8).Text("main.mnu").Bytes({2}).Le32(2).Le32(1);
    expected.Bytes({4}).Le32(7).Text("Install");
    expected.Bytes({4}).Le32(8).Text("main.mnu").Bytes({2}).Le32(2).Le32(3);
    expected.Bytes({4}).Le32(6).Text("Read \xE9");
    EXPECT_EQ(entry->data, AsBytes(expected.Str()));

    const testing::OpenedPackage opened = PackageWith(*entry);
    ASSERT_FALSE(opened.loadError.IsSet());
    const std::vector<const ItemName*> read = opened.package.ItemNames().Of("main.mnu");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->item, 1);
    EXPECT_EQ(read[0]->name, "Install");
    EXPECT_EQ(read[1]->item, 3);
    EXPECT_EQ(read[1]->name, "Read \xE9");
    EXPECT_TRUE(opened.package.ItemNames().Of("main-de.mnu").empty());
}

// Damaged tables of either kind name nothing, and the package still opens: its first menu
// shows. Each case is the table's name and its bytes.
TEST(EntryTablesTest, ADamagedTableNamesNothingAndThePackageStillOpens) {
    const auto language = [](ByteBuilder& b, std::string_view code, std::string_view menu) {
        b.Bytes({4}).Le32(static_cast<std::int32_t>(code.size())).Text(code);
        b.Bytes({4}).Le32(static_cast<std::int32_t>(menu.size())).Text(menu);
    };
    const auto name = [](ByteBuilder& b, std::int32_t item) {
        b.Bytes({4}).Le32(8).Text("main.mnu").Bytes({2}).Le32(2).Le32(item);
        b.Bytes({4}).Le32(4).Text("Play");
    };
    const auto count = [](std::int32_t n) {
        ByteBuilder b;
        b.Bytes({2}).Le32(2).Le32(n);
        return b;
    };
    ByteBuilder cutShort = count(2);
    language(cutShort, "de", "main-de.mnu");
    ByteBuilder longerThanTheFile = count(1);
    longerThanTheFile.Bytes({4}).Le32(0x7FFFFFFF).Text("de");
    ByteBuilder wrongTag;
    wrongTag.Bytes({3}).Le32(4).Le32(1);
    language(wrongTag, "de", "main-de.mnu");
    ByteBuilder notACode = count(2);
    language(notACode, "de", "main-de.mnu");
    language(notACode, "DEU", "main-de.mnu");
    ByteBuilder noMenu = count(1);
    language(noMenu, "de", "");
    ByteBuilder itemZero = count(2);
    name(itemZero, 1);
    name(itemZero, 0);
    ByteBuilder itemBeyond = count(1);
    name(itemBeyond, 101);
    ByteBuilder namesCutShort = count(3);
    name(namesCutShort, 1);
    const struct {
        const char* table;
        ByteBuilder bytes;
    } cases[] = {
        {"languages.dat", count(-1)}, {"languages.dat", count(101)},
        {"languages.dat", cutShort},  {"languages.dat", longerThanTheFile},
        {"languages.dat", wrongTag},  {"languages.dat", notACode},
        {"languages.dat", noMenu},    {"languages.dat", ByteBuilder()},
        {"names.dat", itemZero},      {"names.dat", itemBeyond},
        {"names.dat", count(10001)},  {"names.dat", namesCutShort},
    };
    for (const auto& c : cases) {
        const testing::OpenedPackage opened = PackageWith({c.table, AsBytes(c.bytes.Str())});
        EXPECT_FALSE(opened.loadError.IsSet()) << c.table << " " << c.bytes.Str().size();
        EXPECT_TRUE(opened.package.Languages().All().empty()) << c.bytes.Str().size();
        EXPECT_TRUE(opened.package.ItemNames().All().empty()) << c.bytes.Str().size();
        EXPECT_EQ(opened.package.Directory()[0].name, "main.mnu");
    }
}

}  // namespace
}  // namespace ambrevo::pack
