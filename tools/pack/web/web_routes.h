#pragma once

#include <filesystem>
#include <functional>
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

// A request as routes beside the page's own see it.
struct WebRequest {
    std::string_view method;  // "GET", "POST"
    std::string_view path;    // percent-decoded, without its query
    std::string_view body;
    std::function<std::string(const char* name)> header;  // "" when absent
};

// Routes answered before the page's own (the designer's edit interface); nullopt leaves a
// request to the page's routes.
using ExtraRoutes = std::function<std::optional<WebResponse>(const WebRequest& request)>;

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
