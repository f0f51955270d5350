#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pack/page/live_package.h"

namespace ambrevo::pack {

struct WebResponse {
    int status = 404;
    std::string type;  // the Content-Type
    // The bytes are either held in memory (body) or are those of a file on disk (file,
    // when body is null), read a piece at a time by whoever sends or copies them.
    std::shared_ptr<const std::string> body;
    std::filesystem::path file;
    // Sent besides the server's own headers.
    std::vector<std::pair<std::string, std::string>> headers;
};

// An answer of text held in memory.
WebResponse TextResponse(int status, std::string_view type, std::string body);
// A refusal: the message as a line of plain text.
WebResponse Refusal(int status, const std::string& message);
// An answer of JSON text; texts that are not UTF-8 have the replacement character.
WebResponse JsonResponse(int status, const nlohmann::json& body);

// A request as routes beside the page's own see it.
struct WebRequest {
    std::string_view method;  // "GET", "POST"
    std::string_view path;    // percent-decoded, without its query
    std::string_view body;    // empty while only the request's head has been read
    std::function<std::string(const char* name)> header;     // "" when absent
    std::function<std::string(const char* name)> parameter;  // of the query; "" when absent
};

// What a request is granted from its head, before any of its body is read.
struct Admission {
    std::optional<WebResponse> refusal;  // answered at once; the body is never read
    std::vector<std::pair<std::string, std::string>> headers;  // else added to the answer
};

// Routes answered before the page's own (the designer's edit interface).
struct ExtraRoutes {
    // Asked about every request, the page's own too; null admits all.
    std::function<Admission(const WebRequest& head)> admit;
    // A GET, or a POST with its body read; nullopt leaves the request to the page's routes.
    std::function<std::optional<WebResponse>(const WebRequest& request)> answer;
    // The paths that take a POST, each with the largest body it takes; a POST to any other
    // path is refused before its body is read.
    std::vector<std::pair<std::string, std::size_t>> posts;
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
