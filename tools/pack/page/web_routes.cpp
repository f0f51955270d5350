#include "pack/page/web_routes.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <utility>

#include "pack/common/disc_files.h"
#include "pack/page/web_site.h"
#include "support/ascii.h"
#include "support/json_string.h"

namespace ambrevo::pack {
namespace {

constexpr std::string_view kDiscPrefix = "/disc/";

std::string_view ContentType(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 16> kTypes = {{
        {".html", "text/html; charset=utf-8"},
        {".htm", "text/html; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},
        {".json", "application/json"},
        {".wasm", "application/wasm"},
        {".txt", "text/plain"},
        {".png", "image/png"},
        {".jpg", "image/jpeg"},
        {".jpeg", "image/jpeg"},
        {".gif", "image/gif"},
        {".bmp", "image/bmp"},
        {".ico", "image/x-icon"},
        {".wav", "audio/wav"},
        {".mp3", "audio/mpeg"},
        {".pdf", "application/pdf"},
    }};
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && name.find('/', dot) == std::string_view::npos) {
        const std::string extension = AsciiLower(std::string(name.substr(dot)));
        for (const auto& [known, type] : kTypes) {
            if (extension == known) return type;
        }
    }
    return "application/octet-stream";
}

WebResponse Refused(int status) {
    return TextResponse(status, "text/plain", status == 403 ? "forbidden\n" : "not found\n");
}

WebResponse FileResponse(const std::filesystem::path& file, std::string_view name) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return Refused(404);
    return {200, std::string(ContentType(name)), nullptr, file, {}};
}

std::string StatusJson(const PackageSnapshot& snapshot) {
    return "{\"generation\": " + std::to_string(snapshot.generation) +
           ", \"error\": " + (snapshot.error ? JsonString(*snapshot.error) : std::string("null")) +
           "}";
}

}  // namespace

WebResponse TextResponse(int status, std::string_view type, std::string body) {
    return {
        status, std::string(type), std::make_shared<const std::string>(std::move(body)), {}, {}};
}

WebResponse Refusal(int status, const std::string& message) {
    return TextResponse(status, "text/plain", message + "\n");
}

WebResponse JsonResponse(int status, const nlohmann::json& body) {
    return {status,
            "application/json; charset=utf-8",
            std::make_shared<const std::string>(
                body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n"),
            {},
            {}};
}

WebResponse WebRoutes::Respond(std::string_view path) const {
    if (path == "/") path = "/index.html";
    if (path == "/package.bin") {
        const PackageSnapshot snapshot = package->Current();
        if (!snapshot.program) return TextResponse(503, "text/plain", "no good build yet\n");
        return {200, "application/octet-stream", snapshot.program, {}, {}};
    }
    if (path == "/files.json") {
        return TextResponse(200, "application/json", FilesJson(ListDiscFiles(disc).files));
    }
    if (path == "/status.json" && live) {
        return TextResponse(200, "application/json", StatusJson(package->Current()));
    }
    if (path.starts_with(kDiscPrefix)) {
        const DiscFile found = FindDiscFile(disc, path.substr(kDiscPrefix.size()));
        if (found.lookup == DiscLookup::kRefused) return Refused(403);
        if (found.lookup == DiscLookup::kMissing) return Refused(404);
        WebResponse response = FileResponse(found.file, path);
        // A page of the disc opened from here runs in an origin of its own, and so can
        // neither read the designer's routes nor script the page.
        response.headers.emplace_back("Content-Security-Policy", "sandbox");
        return response;
    }
    const std::string_view name = path.substr(path.empty() ? 0 : 1);
    if (std::find(kSiteFiles.begin(), kSiteFiles.end(), name) != kSiteFiles.end()) {
        return FileResponse(site / std::string(name), name);
    }
    return Refused(404);
}

}  // namespace ambrevo::pack
