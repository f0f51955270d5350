#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "pack/pictures/picture_cache.h"
#include "pack/page/web_routes.h"

namespace ambrevo::pack {

// The menu in a browser: the browser player's page with a package built from SOURCE.
struct WebOptions {
    std::filesystem::path source;  // a package.toml or menu TOML file, or a built program
    std::optional<std::filesystem::path> disc;  // the files beside the menu; see DiscFolderFor
    std::optional<std::filesystem::path> site;  // the browser player's page; see FindWebSite
};

// Serves the page on 127.0.0.1, to requests naming it so (IsLoopbackHost), and builds again
// whenever a source changes, until the process is stopped. port: nullopt tries 8080 and
// else any free port; 0 any free port. Returns only on a failure to start.
int RunServe(const WebOptions& options, std::optional<int> port, std::ostream& out,
             std::ostream& err);

// What the page's server gets beyond the page: routes answered before the page's, the
// text added to the address it prints (the designer's token), and a flag that, once set,
// has the package built at once rather than when a poll sees the sources settled (the
// designer has just written one, whole).
struct ServeExtras {
    ExtraRoutes routes;
    std::string query;
    std::atomic<bool>* buildNow = nullptr;
    std::shared_ptr<PictureCache> pictures;  // shared with the routes; null: the build's own
    // Called with the page's address once it is served and printed (to open a browser).
    std::function<void(const std::string& address)> served;
};

// What RunServe does, with the extras. Throws PackError on a failure to start.
int ServePage(const WebOptions& options, std::optional<int> port, ServeExtras extras,
              std::ostream& out);

// Writes the page as static files into folder: the site's files, package.bin, files.json
// and the disc folder's published files below disc/. The folder must be new, empty or an
// earlier export's (see StagedSite), and is replaced only by a complete page.
int RunWeb(const WebOptions& options, const std::filesystem::path& folder, std::ostream& err);

}  // namespace ambrevo::pack
