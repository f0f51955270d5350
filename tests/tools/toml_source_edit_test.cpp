#include <gtest/gtest.h>

#include <toml++/toml.h>

#include <functional>
#include <string>

#include "pack/common/pack_error.h"
#include "pack/editor/toml_source_edit.h"

namespace ambrevo::pack {
namespace {

// A menu source as authors write them: comments, odd spacing, a multi-line array, strings
// holding "#", "]" and "=", a dotted key and an item with a sub-table.
constexpr std::string_view kSource = R"(# The first menu.
title = "Menu # one"   # its caption
placement="center"
font.name = "Tahoma"
font.size = 9

[description]
  text = """Point ] at
an item = fine"""
  bounds = [326, 134,
            160, 96]  # x, y, w, h

[[item]]
kind = "picture"
position = [36, 130]
[item.pictures]
normal = 'pictures\n.png'

# The exit item.
[[item]]
kind = "button"
position = [0x10, 1_000]
)";

using Edit = std::function<void(TomlSourceEdit&)>;

TEST(TomlSourceEditTest, EditsChangeOnlyTheirLines) {
    const struct {
        const char* name;
        Edit edit;
        std::string from;  // the text replaced, once
        std::string to;
    } cases[] = {
        {"a value in place, comment and spacing kept",
         [](auto& e) { e.Set({}, "title", "\"Menu\""); }, "title = \"Menu # one\"   #",
         "title = \"Menu\"   #"},
        {"a multi-line value replaced whole",
         [](auto& e) {
             e.Set({{}, {"description"}}, "bounds", "[1, 2, 3, 4]");
         },
         "[326, 134,\n            160, 96]", "[1, 2, 3, 4]"},
        {"a new key after the table's last, indented like it",
         [](auto& e) {
             e.Set({{}, {"description"}}, "color", "\"#ffffff\"");
         },
         "160, 96]  # x, y, w, h\n", "160, 96]  # x, y, w, h\n  color = \"#ffffff\"\n"},
        {"a new key of an element goes before its sub-table",
         [](auto& e) {
             e.Set({TomlElement{"item", 0}, {}}, "caption", "\"Go\"");
         },
         "position = [36, 130]\n[item.pictures]",
         "position = [36, 130]\ncaption = \"Go\"\n[item.pictures]"},
        {"a key of the second element, number style of the rest kept",
         [](auto& e) {
             e.Set({TomlElement{"item", 1}, {}}, "position", "[46, 130]");
         },
         "position = [0x10, 1_000]", "position = [46, 130]"},
        {"a missing sub-table added at its element's end",
         [](auto& e) {
             e.Set({TomlElement{"item", 1}, {"pictures"}}, "normal", "\"b.png\"");
         },
         "position = [0x10, 1_000]\n",
         "position = [0x10, 1_000]\n[item.pictures]\nnormal = \"b.png\"\n"},
        {"a missing table added before the items",
         [](auto& e) {
             e.Set({{}, {"clock"}}, "show_time", "true");
         },
         "\n\n[[item]]\nkind = \"picture\"",
         "\n\n[clock]\nshow_time = true\n\n[[item]]\nkind = \"picture\""},
        {"dotted keys give way to the whole value where they were",
         [](auto& e) { e.Set({}, "font", "{ name = \"Arial\", size = 10 }"); },
         "font.name = \"Tahoma\"\nfont.size = 9\n", "font = { name = \"Arial\", size = 10 }\n"},
        {"a multi-line key removed with its lines",
         [](auto& e) {
             e.Remove({{}, {"description"}}, "text");
         },
         "  text = \"\"\"Point ] at\nan item = fine\"\"\"\n", ""},
        {"a sub-table an element lacks, added at the element's end",
         [](auto& e) {
             e.Set({TomlElement{"item", 1}, {"style"}}, "radius", "10");
         },
         "position = [0x10, 1_000]\n", "position = [0x10, 1_000]\n[item.style]\nradius = 10\n"},
        {"keys that are not bare, quoted in the header and the key",
         [](auto& e) {
             e.Set({TomlElement{"item", 0}, {"my style"}}, "a.b", "1");
         },
         "normal = 'pictures\\n.png'\n",
         "normal = 'pictures\\n.png'\n[item.\"my style\"]\n\"a.b\" = 1\n"},
        {"an element removed with its comment and the blank line before it",
         [](auto& e) { e.RemoveElement("item", 1); },
         "\n# The exit item.\n[[item]]\nkind = \"button\"\nposition = [0x10, 1_000]\n", ""},
        {"an element moved before another", [](auto& e) { e.MoveElement("item", 1, 0); },
         "\n[[item]]\nkind = \"picture\"\nposition = [36, 130]\n[item.pictures]\n"
         "normal = 'pictures\\n.png'\n\n# The exit item.\n[[item]]\nkind = \"button\"\n"
         "position = [0x10, 1_000]\n",
         "\n# The exit item.\n[[item]]\nkind = \"button\"\nposition = [0x10, 1_000]\n"
         "\n[[item]]\nkind = \"picture\"\nposition = [36, 130]\n[item.pictures]\n"
         "normal = 'pictures\\n.png'\n"},
        {"an element copied after itself as written, its sub-table kept a table",
         [](auto& e) { EXPECT_EQ(e.DuplicateElement("item", 0), 1); },
         "normal = 'pictures\\n.png'\n",
         "normal = 'pictures\\n.png'\n\n[[item]]\nkind = \"picture\"\nposition = [36, 130]\n"
         "[item.pictures]\nnormal = 'pictures\\n.png'\n"},
        {"the last element copied, without its comment",
         [](auto& e) { EXPECT_EQ(e.DuplicateElement("item", 1), 2); }, "position = [0x10, 1_000]\n",
         "position = [0x10, 1_000]\n\n[[item]]\nkind = \"button\"\nposition = [0x10, 1_000]\n"},
    };
    for (const auto& c : cases) {
        TomlSourceEdit edit{std::string(kSource)};
        c.edit(edit);
        std::string expected(kSource);
        const std::size_t at = expected.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.name;
        expected.replace(at, c.from.size(), c.to);
        EXPECT_EQ(edit.Text(), expected) << c.name;
        EXPECT_NO_THROW(toml::parse(edit.Text())) << c.name;
    }
}

TEST(TomlSourceEditTest, AppendingFollowsTheArraysOwnLayout) {
    const struct {
        const char* name;
        std::string before;
        std::string after;
    } cases[] = {
        {"one line", "menus = [\"a.toml\", 'b.toml'] # all\n",
         "menus = [\"a.toml\", 'b.toml', \"c.toml\"] # all\n"},
        {"empty", "menus = []\n", "menus = [\"c.toml\"]\n"},
        {"missing", "title = \"x\"\n", "title = \"x\"\nmenus = [\"c.toml\"]\n"},
        {"a line each, trailing comma, comments with ] and \"",
         "menus = [\n    \"a.toml\",  # first \"]\n    \"b.toml\", # ] last\n]\n[languages]\n",
         "menus = [\n    \"a.toml\",  # first \"]\n    \"b.toml\", # ] last\n    \"c.toml\",\n]\n"
         "[languages]\n"},
        {"a line each, no trailing comma, CRLF", "menus = [\r\n  \"a.toml\"\r\n]\r\n",
         "menus = [\r\n  \"a.toml\",\r\n  \"c.toml\"\r\n]\r\n"},
        {"the bracket after the last value", "menus = [\"a.toml\",\n\t\"b.toml\"]\n",
         "menus = [\"a.toml\",\n\t\"b.toml\",\n\t\"c.toml\"]\n"},
    };
    for (const auto& c : cases) {
        TomlSourceEdit edit(c.before);
        edit.Append({}, "menus", "\"c.toml\"");
        EXPECT_EQ(edit.Text(), c.after) << c.name;
        EXPECT_NO_THROW(toml::parse(edit.Text())) << c.name;
    }
    TomlSourceEdit notAnArray("menus = \"a.toml\"\n");
    EXPECT_THROW(notAnArray.Append({}, "menus", "\"c.toml\""), PackError);
}

TEST(TomlSourceEditTest, AddingAndRemovingOrMovingBackLeavesTheTextAsItWas) {
    for (const std::string& source : {std::string(kSource), std::string("title = \"x\"\r\n")}) {
        TomlSourceEdit edit{source};
        const int added = edit.Add("item", {{"kind", "\"text\""}, {"position", "[1, 2]"}});
        EXPECT_EQ(edit.Count("item"), added + 1);
        EXPECT_NO_THROW(toml::parse(edit.Text()));
        if (source.find("\r\n") != std::string::npos) {
            EXPECT_NE(edit.Text().find("[[item]]\r\nkind = \"text\"\r\n"), std::string::npos);
        }
        if (added > 0) {
            edit.MoveElement("item", added, 0);
            EXPECT_EQ(edit.Count("item"), added + 1);
            edit.MoveElement("item", 0, added);
        }
        edit.RemoveElement("item", added);
        EXPECT_EQ(edit.Text(), source);
    }
}

TEST(TomlSourceEditTest, TextItCannotFollowAndMissingElementsAreRefused) {
    const struct {
        std::string text;
        Edit edit;
        std::string message;
    } cases[] = {
        {"a = \"open\n", {}, "line 1: unterminated string"},
        {"a = [1, 2\nb = 3\n", {}, "line 2: expected ',' or ']'"},
        {"a = 1 b\n", {}, "line 1: unexpected text after a value"},
        {std::string(kSource),
         [](auto& e) {
             e.Set({TomlElement{"item", 2}, {}}, "kind", "\"x\"");
         },
         "no element 2 of \"item\""},
        {std::string(kSource), [](auto& e) { e.RemoveElement("item", 2); },
         "no element 2 of \"item\""},
        {std::string(kSource), [](auto& e) { e.MoveElement("item", 0, 5); },
         "no element 5 of \"item\""},
    };
    for (const auto& c : cases) {
        try {
            TomlSourceEdit edit{c.text};
            if (c.edit) c.edit(edit);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const PackError& error) {
            EXPECT_EQ(error.what(), c.message) << c.text;
        }
    }
}

}  // namespace
}  // namespace ambrevo::pack
