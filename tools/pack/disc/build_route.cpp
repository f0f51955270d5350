#include "pack/disc/build_route.h"

#include <cstdint>
#include <sstream>
#include <system_error>
#include <type_traits>
#include <utility>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/disc/disc_build.h"
#include "pack/package/iso_image.h"
#include "pack/page/request_body.h"

namespace ambrevo::pack {
namespace {

constexpr int kRequestDepthLimit = 8;

// The request's value of key: absent gives fallback, a value of another type is refused.
template <typename T>
T Field(const nlohmann::json& object, const char* key, T fallback, const char* kind) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null()) return fallback;
    const bool fits = std::is_same_v<T, bool>          ? found->is_boolean()
                      : std::is_same_v<T, std::string> ? found->is_string()
                                                       : found->is_number_integer();
    if (!fits) throw PackError(std::string("\"") + key + "\" must be " + kind);
    return found->get<T>();
}

// A folder the author names: relative to the source's folder, or absolute; the answer names
// it in full, as the author finds it.
std::filesystem::path FolderFrom(const std::filesystem::path& base, const std::string& given) {
    const std::filesystem::path folder = PathFromUtf8(given.empty() ? "output" : given);
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(base / folder, error);
    return error ? base / folder : full.lexically_normal();
}

// The lines the build wrote, without the empty ones.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace

BuildRoute::BuildRoute(std::filesystem::path source, std::optional<std::filesystem::path> disc)
    : source_(std::move(source)), disc_(std::move(disc)) {}

std::optional<WebResponse> BuildRoute::Answer(const WebRequest& request) const {
    if (request.path != "/build") return std::nullopt;
    // What this tool can build, for the dialog to offer: every build writes ISO images.
    if (request.method == "GET") return JsonResponse(200, {{"iso", true}});
    if (request.method != "POST") return JsonResponse(405, {{"error", "GET or POST /build"}});
    if (NestsDeeperThan(request.body, kRequestDepthLimit)) {
        return JsonResponse(400, {{"error", "the build request nests too deeply"}});
    }
    const nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
    if (!body.is_object())
        return JsonResponse(400, {{"error", "a build request must be a JSON object"}});
    try {
        return JsonResponse(200, Build(body));
    } catch (const PackError& refused) {
        return JsonResponse(400, {{"error", refused.what()}});
    }
}

nlohmann::json BuildRoute::Build(const nlohmann::json& request) const {
    const std::filesystem::path base = source_.parent_path();
    const std::filesystem::path folder =
        FolderFrom(base, Field<std::string>(request, "folder", "", "a folder's name"));
    BuildOptions options{
        .sources = {source_},
        .output = folder / "disc" / "setup.exe",
        .quiet = true,
        .autorun =
            AutorunTexts{Field<std::string>(request, "label", "", "the disc's name"), std::nullopt},
        .disc = disc_};
    const std::int64_t bits = Field<std::int64_t>(request, "bits", 32, "32 or 64");
    if (options.autorun->label.empty()) throw PackError("give the disc's name (its label)");
    if (bits != 32 && bits != 64) throw PackError("\"bits\" must be 32 or 64");
    options.bits = static_cast<int>(bits);
    if (Field<bool>(request, "iso", false, "true or false")) options.iso = folder / "disc.iso";
    if (Field<bool>(request, "usb", false, "true or false")) options.usb = folder / "usb";
    if (const auto sign = request.find("sign"); sign != request.end() && !sign->is_null()) {
        if (!sign->is_object()) throw PackError("\"sign\" must be an object");
        const std::string certificate =
            Field<std::string>(*sign, "certificate", "", "a certificate file's path");
        if (certificate.empty()) throw PackError("give the certificate (.pfx) to sign with");
        options.signCertificate = FolderFrom(base, certificate);
        options.signPassword = Field<std::string>(*sign, "password", "", "a text");
        const std::string timestamp = Field<std::string>(*sign, "timestamp", "", "an address");
        if (!timestamp.empty()) options.timestampUrl = timestamp;
    }
    std::vector<BuiltOutput> written;
    std::ostringstream messages;
    const std::scoped_lock lock(building_);
    const int status = RunBuild(options, messages, &written);
    nlohmann::json outputs = nlohmann::json::array();
    for (const BuiltOutput& output : written) {
        outputs.push_back(
            {{"kind", output.kind}, {"path", PathToUtf8(output.path)}, {"bytes", output.bytes}});
    }
    return {{"ok", status == 0}, {"outputs", outputs}, {"messages", Lines(messages.str())}};
}

ExtraRoutes WithBuildRoute(ExtraRoutes routes, std::shared_ptr<const BuildRoute> build) {
    routes.answer = [build, answer = std::move(routes.answer)](const WebRequest& request) {
        if (std::optional<WebResponse> built = build->Answer(request)) return built;
        return answer ? answer(request) : std::nullopt;
    };
    routes.posts.push_back(BuildRoute::Post());
    return routes;
}

}  // namespace ambrevo::pack
