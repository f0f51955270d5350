#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <filesystem>

namespace ambrevo::pack {

// The PNG files a menu source may name, for the designer's picture chooser: those in
// `folder` and its sub-folders, as relative paths with "/" and their size from the PNG
// header, sorted by path. Links are not followed (a linked picture could lie outside the
// folder), names the page does not offer (CheckPublishedName: ".git", "CON.png", backups)
// are skipped with what lies below them, and a file that is no PNG is left out.
// At most `limit` files; {"pictures": [{"file", "size": [w, h]}], "more": bool}, "more"
// true when the folder held more than were listed.
nlohmann::json PictureFiles(const std::filesystem::path& folder, std::size_t limit = 2000);

}  // namespace ambrevo::pack
