#include "pack/source/menu_keys.h"

#include <gtest/gtest.h>
#include <toml++/toml.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "model_fields.h"
#include "pack/source/menu_source_reader.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using KeySet = std::set<std::string, std::less<>>;

std::string TableOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? "" : std::string(path.substr(0, dot));
}

// A menu source giving each key of the catalogue that `valueOf` has a value for, each
// table under its header, the item's keys before its pictures.
std::string SourceOf(const std::map<std::string, std::string>& values) {
    std::vector<std::string> tables;
    std::map<std::string, std::string> lines;
    for (const MenuKey& key : MenuKeys()) {
        const auto value = values.find(std::string(key.path));
        if (value == values.end()) continue;
        const std::string table = TableOf(key.path);
        if (!lines.contains(table)) tables.push_back(table);
        lines[table] += std::string(key.path.substr(table.empty() ? 0 : table.size() + 1)) + " = " +
                        value->second + "\n";
    }
    std::string text = lines[""];
    for (const std::string& table : tables) {
        if (table.empty()) continue;
        text += (table == "item" ? "[[item]]\n" : "[" + table + "]\n") + lines[table];
    }
    return text;
}

// Every key at its default; [shape] left out, which switches the shape on.
std::map<std::string, std::string> Defaults() {
    std::map<std::string, std::string> values;
    for (const MenuKey& key : MenuKeys()) {
        if (!key.defaultValue.empty() && !key.path.starts_with("shape.")) {
            values[std::string(key.path)] = key.defaultValue;
        }
    }
    return values;
}

class MenuKeysTest : public ::testing::Test {
protected:
    MenuSource Read(const std::string& text, KeySet* asked = nullptr) {
        const toml::table root = toml::parse(text);
        SourceFile file{"main.toml", diagnostics_, 0, asked};
        return ReadMenuSource(root, folder_.Path("main.toml"), file, cache_);
    }

    testing::SourceFolder folder_;
    PictureCache cache_;
    Diagnostics diagnostics_;
};

TEST_F(MenuKeysTest, EveryKeyAtItsDefault_ReadsAsIfItWereLeftOut) {
    const std::string text = SourceOf(Defaults());
    const MenuSource given = Read(text);
    for (const Diagnostic& problem : diagnostics_.All()) {
        ADD_FAILURE() << FormatDiagnostic(problem) << "\nin:\n" << text;
    }
    const MenuSource left = Read("[[item]]\n");
    EXPECT_EQ(given.version, left.version);
    EXPECT_EQ(testing::WindowFields(given.menu), testing::WindowFields(left.menu)) << text;
    ASSERT_EQ(given.menu.items.size(), 1U);
    EXPECT_EQ(testing::ItemFields(given.menu.items[0]), testing::ItemFields(left.menu.items[0]));
}

// A key a reader takes that the catalogue lacks, or one the catalogue lists that no reader
// takes, fails here.
TEST_F(MenuKeysTest, TheReadersTakeExactlyTheCatalogueKeys) {
    std::map<std::string, std::string> values = Defaults();
    values["shape.cut"] = "\"none\"";  // the table present, so that its keys are asked for
    KeySet asked;
    Read(SourceOf(values), &asked);
    // A button style's keys are asked for where an item has a style table, each set's table
    // and font given.
    Read(
        "[[item]]\ncaption = \"Go\"\n[item.style]\nfont = {}\nhighlighted = { font = {} }\n"
        "pressed = { font = {} }\n",
        &asked);

    KeySet catalogue;
    for (const MenuKey& key : MenuKeys()) catalogue.emplace(key.path);
    for (const std::string& path : catalogue) {
        EXPECT_TRUE(asked.contains(path)) << path << " is in the catalogue, but no reader takes it";
    }
    for (const std::string& path : asked) {
        const MenuKey* key = FindMenuKey(path);
        const MenuKey* font = FindMenuKey(TableOf(path));
        const bool fontKey =
            font != nullptr &&
            std::ranges::count(FontKeys(font->type), path.substr(TableOf(path).size() + 1)) > 0;
        const bool table = std::ranges::any_of(
            catalogue, [&](const std::string& known) { return known.starts_with(path + "."); });
        EXPECT_TRUE(key != nullptr || fontKey || table)
            << path << " is read, but the catalogue does not describe it";
    }
}

TEST_F(MenuKeysTest, MessagesNameKeysByLabel) {
    const struct {
        std::string_view path;
        std::string_view written;
        std::string expected;
    } cases[] = {
        {"title", "title", "Window title (\"title\")"},
        {"item.exit_after_launch", "exit_after_launch",
         "Ends the menu after the launch (\"exit_after_launch\")"},
        {"description.font.size", "description.font.size",
         "Description font (\"description.font.size\")"},
        {"item.pictures.pressed", "pictures.pressed", "Pressed picture (\"pictures.pressed\")"},
        {"clock.show", "clock.show", "\"clock.show\""},
    };
    for (const auto& c : cases) EXPECT_EQ(KeyInMessage(c.path, c.written), c.expected);
}

TEST(MenuKeysJsonTest, DescribesEachKeyForTheDesigner) {
    const nlohmann::json keys = MenuKeysJson();
    std::map<std::string, nlohmann::json> byPath;
    for (const nlohmann::json& key : keys) byPath[key["path"]] = key;
    ASSERT_EQ(byPath.size(), MenuKeys().size());
    EXPECT_EQ(byPath["placement"]["choices"].front(), "center");
    EXPECT_EQ(byPath["placement"]["default"], "center");
    EXPECT_EQ(byPath["background"]["default"], nullptr);
    EXPECT_EQ(byPath["description.bounds"]["default"], nlohmann::json({40, 120, 120, 45}));
    EXPECT_EQ(byPath["description.bounds"]["parts"],
              nlohmann::json({"Left", "Top", "Width", "Height"}));
    EXPECT_EQ(byPath["item.font"]["default"]["color"], "#000000");
    EXPECT_EQ(byPath["item.font"]["version7"], true);
    EXPECT_EQ(byPath["item.size"]["kinds"], nlohmann::json({"button", "text"}));
    EXPECT_EQ(byPath["initial_item"]["highest"], 100);
    EXPECT_EQ(byPath["item.style.pressed.font"]["fields"],
              nlohmann::json({"name", "size", "bold"}));
    EXPECT_EQ(byPath["item.style.pressed.font"]["fonts"], nlohmann::json({"DejaVu Sans"}));
    EXPECT_EQ(byPath["item.style.highlighted.offset"]["label"], "Highlighted caption offset");
    EXPECT_EQ(byPath["item.style.radius"]["highest"], 1000);
    EXPECT_FALSE(byPath["item.font"].contains("fonts"));
    EXPECT_FALSE(byPath["title"].contains("kinds"));
}

}  // namespace
}  // namespace ambrevo::pack
