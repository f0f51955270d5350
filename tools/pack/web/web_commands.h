#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

#include "pack/web/web_routes.h"

namespace ambrevo::pack {

// The menu in a browser: the browser player's page with a package built from SOURCE.
struct WebOptions {
    std::filesystem::path source;  // a package.toml or menu TOML file, or a built program
    std::optional<std::filesystem::path> disc;  // the files beside the menu; see DiscFolderFor
    std::optional<std::filesystem::path> site;  // the browser player's page; see FindWebSite
};

// Serves the page on 127.0.0.1, to requests naming it by a loopback host, and builds again
// whenever a source changes, until the process is stopped. port: nullopt tries 8080 and
// else any free port; 0 any free port. Returns only on a failure to start.
int RunServe(const WebOptions& options, std::optional<int> port, std::ostream& out,
             std::ostream& err);

// What RunServe does, with `extra` routes answered before the page's and `query` added to
// the address it prints (the designer's token). Throws PackError on a failure to start.
int ServePage(const WebOptions& options, std::optional<int> port, ExtraRoutes extra,
              std::string_view query, std::ostream& out);

// Writes the page as static files into folder: the site's files, package.bin, files.json
// and the disc folder's published files below disc/. The folder must be new, empty or an
// earlier export's (see StagedSite), and is replaced only by a complete page.
int RunWeb(const WebOptions& options, const std::filesystem::path& folder, std::ostream& err);

}  // namespace ambrevo::pack
