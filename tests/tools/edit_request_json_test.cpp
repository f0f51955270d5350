#include "pack/editor/edit_request_json.h"

#include <gtest/gtest.h>

#include <string>

#include "pack/common/pack_error.h"

namespace ambrevo::pack {
namespace {

std::string RefusalOf(const char* json) {
    try {
        ParseEditRequest(nlohmann::json::parse(json));
    } catch (const PackError& refused) {
        return refused.what();
    }
    return "";
}

TEST(EditRequestJsonTest, AnEditTheSessionCannotTakeIsRefusedNamingTheField) {
    const struct {
        const char* json;
        std::string error;
    } cases[] = {
        {R"([1])", "an edit must be a JSON object"},
        {R"({"set": {"title": "x"}})", "an edit must name its \"file\""},
        {R"({"file": 3, "set": {"title": "x"}})", "\"file\" must be a text"},
        {R"({"file": "m", "version": 5, "set": {"title": "x"}})", "\"version\" must be a text"},
        {R"({"file": "m", "menu": 5, "set": {"title": "x"}})", "\"menu\" must be a text"},
        {R"({"file": "m", "label": 7, "set": {"title": "x"}})", "\"label\" must be a text"},
        {R"({"file": "m", "item": 0, "set": {"title": "x"}})",
         "\"item\" must be an item's number, from 1"},
        {R"({"file": "m", "item": "2", "set": {"title": "x"}})",
         "\"item\" must be an item's number, from 1"},
        {R"({"file": "m", "item": 4294967297, "set": {"title": "x"}})",
         "\"item\" must be an item's number, from 1"},
        {R"({"file": "m", "set": {}})", "\"set\" must name keys"},
        {R"({"file": "m", "set": ["title"]})", "\"set\" must name keys"},
        {R"({"file": "m", "set": {"pictures.": "a.png"}})", "a key must not be empty"},
        {R"({"file": "m", "set": {"font": {"": 9}}})", "a key must not be empty"},
        {R"({"file": "m", "item": 1, "set": {"size": [10, 2.5]}})",
         "Size (\"size\"): \"Height\" needs a whole number, not 2.5"},
        {R"({"file": "m", "add": {"kind": null}})",
         "Kind of item (\"kind\") needs a value: a text, a number, true or false, a list or a "
         "table"},
        {R"({"file": "m", "set": {"title": 18446744073709551615}})",
         "Window title (\"title\") needs a number TOML can hold, not 18446744073709551615"},
        {R"({"file": "m", "each": []})", "\"each\" must list edits"},
        {R"({"file": "m", "each": [3]})", "\"each\" must list edits"},
        {R"({"file": "m", "each": [{"item": 1}]})", "\"set\" must name keys"},
        {R"({"file": "m", "add": [1]})", "\"add\" must give the new item's keys"},
        {R"({"file": "m", "remove": -1})", "\"remove\" must be an item's number, from 1"},
        {R"({"file": "m", "move": 2})", "\"move\" needs \"to\", the item's new number"},
        {R"({"file": "m", "move": 2, "to": 1.0})", "\"to\" must be an item's number, from 1"},
        {R"({"file": "m"})",
         "an edit must \"set\", \"add\", \"remove\", \"move\", \"duplicate\", \"each\" or "
         "\"add_menu\""},
        {R"({"undo": "yes"})", "\"undo\" must be true or false"},
        {R"({"redo": true, "file": ["m"]})", "\"file\" must be a text"},
        {R"({"file": "p", "add_menu": "help.toml"})", "\"add_menu\" must give the new menu's keys"},
        {R"({"file": "p", "add_menu": {"title": "Help"}})",
         "\"add_menu\" must name the new menu's \"file\""},
        {R"({"file": "p", "add_menu": {"file": "h.toml", "title": 3}})",
         "a new menu takes a \"title\" and a \"background\", both texts"},
        {R"({"file": "p", "add_menu": {"file": "h.toml", "colour": "#ffffff"}})",
         "a new menu takes a \"title\" and a \"background\", both texts"},
        {R"({"file": "p", "add_menu": {"file": "h.toml", "background": {"size": [8, 4097],
             "color": "#000000"}}})",
         "a plain background's size must be [width, height], each 1 to 4096 pixels"},
        {R"({"file": "p", "add_menu": {"file": "h.toml", "background": {"size": [8, 8],
             "color": "#00000g"}}})",
         "a plain background's colour must be written \"#RRGGBB\""},
    };
    for (const auto& c : cases) EXPECT_EQ(RefusalOf(c.json), c.error) << c.json;
}

TEST(EditRequestJsonTest, KeysValuesAndItemsArriveTyped) {
    const EditRequest set = ParseEditRequest(nlohmann::json::parse(R"({"file": "main.toml",
        "version": "00ff", "menu": "MAIN.MNU", "item": 2, "label": null,
        "set": {"pictures.normal": "a.png", "target": null, "font": {"size": 9, "bold": true}}})"));
    const FileEdit& edit = std::get<FileEdit>(set);
    EXPECT_EQ(edit.file, "main.toml");
    EXPECT_EQ(edit.version, "00ff");
    EXPECT_EQ(edit.menu, "MAIN.MNU");
    EXPECT_EQ(edit.label, "");  // null: left out
    const ItemKeys& keys = std::get<SetKeys>(std::get<MenuSourceChange>(edit.change)).each.at(0);
    EXPECT_EQ(keys.item, 2);
    ASSERT_EQ(keys.keys.size(), 3u);
    EXPECT_EQ(keys.keys[0].path, (std::vector<std::string>{"font"}));
    EXPECT_EQ(TomlValueText(*keys.keys[0].value), "{ bold = true, size = 9 }");
    EXPECT_EQ(keys.keys[1].path, (std::vector<std::string>{"pictures", "normal"}));
    EXPECT_TRUE(WritesText(edit, "a.png"));
    EXPECT_FALSE(WritesText(edit, "b.png"));
    EXPECT_EQ(keys.keys[2].path, (std::vector<std::string>{"target"}));
    EXPECT_FALSE(keys.keys[2].value);

    const FileEdit menu = std::get<FileEdit>(ParseEditRequest(nlohmann::json::parse(
        R"({"file": "package.toml", "add_menu": {"file": "h.toml", "title": "Help",
            "background": {"size": [2, 3], "color": "#0A0b0C"}}})")));
    const NewMenu& added = std::get<NewMenu>(menu.change);
    EXPECT_EQ(added.title, "Help");
    const PlainFill& fill = std::get<PlainFill>(added.background);
    EXPECT_EQ(fill.width * 10 + fill.height, 23);
    EXPECT_EQ(fill.colour, 0x0a0b0cu);
    EXPECT_EQ(menu.version, "");  // a package file not written yet

    const ReplayEdit redo = std::get<ReplayEdit>(
        ParseEditRequest(nlohmann::json::parse(R"({"redo": true, "undo": false, "file": "m",
            "version": null})")));
    EXPECT_EQ(redo.way, Replay::Redo);
    EXPECT_EQ(redo.file, "m");
}

}  // namespace
}  // namespace ambrevo::pack
