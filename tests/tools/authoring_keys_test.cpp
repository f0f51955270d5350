#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "pack/source/menu_keys.h"

namespace ambrevo::pack {
namespace {

// The keys of the TOML block of the authoring notes' "A menu source": each key's path, and
// for a key written as an inline table its keys.
std::map<std::string, std::set<std::string>> DocumentedKeys(std::istream& notes) {
    std::string line;
    while (std::getline(notes, line) && line != "## A menu source") {
    }
    // The block that lists the keys is the one with [[item]] in it.
    std::vector<std::string> block;
    bool inBlock = false;
    bool listsKeys = false;
    while (!listsKeys && std::getline(notes, line)) {
        if (!inBlock && line == "```toml") {
            inBlock = true;
            block.clear();
        } else if (inBlock && line == "```") {
            inBlock = false;
            listsKeys = std::ranges::any_of(
                block, [](const std::string& text) { return text.starts_with("[[item]]"); });
        } else if (inBlock) {
            block.push_back(line);
        }
    }
    std::map<std::string, std::set<std::string>> keys;
    std::string table;
    for (const std::string& text : block) {
        if (text.empty() || text[0] == ' ' || text[0] == '#') continue;
        if (text[0] == '[') {
            const std::size_t open = text.find_first_not_of('[');
            table = text.substr(open, text.find(']') - open);
            continue;
        }
        const std::size_t equals = text.find(" = ");
        if (equals == std::string::npos) continue;
        const std::string path = (table.empty() ? "" : table + ".") + text.substr(0, equals);
        std::set<std::string>& inner = keys[path];
        const std::string value = text.substr(equals + 3);
        if (!value.starts_with("{")) continue;
        // { name = "Tahoma", size = 8, ... }: each word before " = ".
        std::istringstream fields(value.substr(1, value.find('}') - 1));
        std::string field;
        while (std::getline(fields, field, ',')) {
            const std::size_t start = field.find_first_not_of(' ');
            inner.insert(field.substr(start, field.find(" = ") - start));
        }
    }
    return keys;
}

TEST(AuthoringKeysTest, TheNotesListEveryKeyOfTheCatalogueAndNoOther) {
    std::ifstream notes(AMBREVO_AUTHORING_NOTES);
    ASSERT_TRUE(notes) << AMBREVO_AUTHORING_NOTES;
    const std::map<std::string, std::set<std::string>> documented = DocumentedKeys(notes);
    ASSERT_FALSE(documented.empty());
    for (const auto& [path, fields] : documented) {
        const MenuKey* key = FindMenuKey(path);
        if (key == nullptr) {
            ADD_FAILURE() << path << " is in the notes, not in the catalogue";
            continue;
        }
        std::set<std::string> expected;
        for (std::string_view field : FontKeys(key->type)) expected.emplace(field);
        EXPECT_EQ(fields, expected) << "the keys of " << path;
    }
    for (const MenuKey& key : MenuKeys()) {
        EXPECT_TRUE(documented.contains(std::string(key.path)))
            << key.path << " is in the catalogue, not in the notes";
    }
}

}  // namespace
}  // namespace ambrevo::pack
