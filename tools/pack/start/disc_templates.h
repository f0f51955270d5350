#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ambrevo::pack {

// The discs a new author starts from, built into the tool (resources/templates): each a
// package.toml, its menus, a disc folder of small placeholder files the buttons open, and
// backgrounds the tool draws, so that the disc builds and passes `check --strict` as made.
struct DiscTemplate {
    std::string name;         // as `new --template` takes it: "product"
    std::string title;        // as the start page shows it: "Product CD"
    std::string description;  // one line
};

// The template `new` makes without --template.
inline constexpr std::string_view kDefaultTemplate = "product";

// Every template, sorted by name.
std::vector<DiscTemplate> DiscTemplates();

// Writes the sources of a new disc from the template `name` into `folder`, which must not
// exist or be an empty folder. Throws PackError for an unknown template, a folder that
// holds anything, or a file that cannot be written; what was written before a failure is
// taken away again.
void MakeDiscFromTemplate(const std::filesystem::path& folder, std::string_view name);

}  // namespace ambrevo::pack
