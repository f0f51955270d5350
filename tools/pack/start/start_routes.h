#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "pack/page/web_routes.h"
#include "pack/start/recent_discs.h"
#include "pack/start/user_folders.h"

namespace ambrevo::pack {

// The start page's interface, beside the page's files. Every request needs the token of
// the page's address in the header X-Ambrevo-Token (403 without it); answers are JSON.
// - GET /start/templates: [{name, title, description}], the default template first;
// - GET /start/templates/NAME.png: the template's first menu as a picture (image/png);
// - GET /start/places: {home, documents}, where the page proposes new discs;
// - GET /start/recent: [{folder, name}], the discs opened last that still exist;
// - GET /start/folders?path=P: {path, parent, disc, folders: [names]}, the folders in P (the
//   home folder without one), parent null at the home folder, disc whether P holds a
//   package.toml;
// - POST /start/new {template, folder}: a new disc from the template, then opened;
// - POST /start/open {folder}: the designer opened on the folder.
// Folders are absolute, or taken from the documents folder; any that is not inside the
// home folder, once its links are followed, is refused (403). Opening answers
// {"address": "/?token=..."}, the designer's page, or 400 with the reason it failed.
class StartRoutes {
public:
    static constexpr std::size_t kBodyLimit = 64 * 1024;

    // open: makes the server's designer the folder's, or throws PackError saying why not.
    StartRoutes(UserFolders folders, std::string token,
                std::function<void(const std::filesystem::path& folder)> open);

    // Requests outside /start/ are not the start page's (nullopt).
    std::optional<WebResponse> Answer(const WebRequest& request) const;

private:
    WebResponse Folders(const WebRequest& request) const;
    // The picture of the template NAME.png names, drawn once.
    WebResponse TemplatePicture(std::string_view fileName) const;
    WebResponse Open(const WebRequest& request) const;
    // The folder a request names, inside home; throws PackError otherwise.
    std::filesystem::path FolderInHome(const std::string& given) const;

    UserFolders folders_;
    std::string token_;
    std::function<void(const std::filesystem::path&)> open_;
    RecentDiscs recent_;
    mutable std::mutex picturesLock_;
    mutable std::map<std::string, std::shared_ptr<const std::string>, std::less<>> pictures_;
};

}  // namespace ambrevo::pack
