#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "pack/web/live_package.h"

namespace ambrevo::pack {

struct WebResponse {
    int status = 404;
    std::string type;  // the Content-Type
    // The bytes are either held in memory (body) or are those of a file on disk (file,
    // when body is null), read a piece at a time by whoever sends or copies them.
    std::shared_ptr<const std::string> body;
    std::filesystem::path file;
};

// What the page's server answers, and nothing more: the page's own files from the site
// folder, the package, the list of the disc folder's files, the build status, and the
// disc folder's files below /disc/.
struct WebRoutes {
    std::filesystem::path site;
    std::optional<std::filesystem::path> disc;  // none: the page has no disc files
    const LivePackage* package = nullptr;
    bool live = true;  // whether /status.json is served

    // path: the request's path, already percent-decoded, without its query.
    WebResponse Respond(std::string_view path) const;
};

}  // namespace ambrevo::pack
