#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "pack/page/web_routes.h"
#include "source_folder.h"

namespace ambrevo::pack::testing {

constexpr std::string_view kWebMenu = "title = \"Disc\"\nbackground = \"bg.png\"\n";

// The browser player's page, as the web build leaves it; the fixture writes "site <name>"
// into each.
constexpr auto kPageFiles = std::to_array<std::string_view>(
    {"index.html", "page.css", "page.js", "ambrevo-web.js", "ambrevo-web.wasm"});

// A menu source src/main.toml with its picture, a disc folder src/disc beside it with a
// link leading out of it, and a stand-in for the browser player's page in site/.
class WebSources : public ::testing::Test {
protected:
    WebSources();

    SourceFolder folder_;
    std::filesystem::path source_;
};

// The bytes an answer carries, from memory or from its file.
std::string AnswerBytes(const WebResponse& answer);

// Every file below folder, hidden ones included, by relative path, with its bytes.
std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder);

}  // namespace ambrevo::pack::testing
