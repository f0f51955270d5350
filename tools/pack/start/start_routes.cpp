#include "pack/start/start_routes.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <system_error>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/common/real_path.h"
#include "pack/common/file_names.h"
#include "pack/common/pack_error.h"
#include "pack/editor/edit_routes.h"
#include "pack/page/request_body.h"
#include "pack/start/disc_templates.h"
#include "pack/start/template_preview.h"

namespace ambrevo::pack {

namespace {

// The most folders one listing shows; a folder of more is cut there, and says so.
constexpr std::size_t kListedFolders = 2000;

// Refused folders are named in the message, so that the author sees which.
class OutsideHome : public PackError {
public:
    using PackError::PackError;
};

// The path with its links followed, as far as it exists.
std::filesystem::path Resolved(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path.lexically_normal() : resolved;
}

nlohmann::json ErrorJson(const std::string& message) { return {{"error", message}}; }

// The template `new` takes by default first, as the page offers the first one.
nlohmann::json TemplatesJson() {
    std::vector<DiscTemplate> templates = DiscTemplates();
    std::stable_partition(templates.begin(), templates.end(),
                          [](const DiscTemplate& known) { return known.name == kDefaultTemplate; });
    nlohmann::json list = nlohmann::json::array();
    for (const DiscTemplate& known : templates) {
        list.push_back(
            {{"name", known.name}, {"title", known.title}, {"description", known.description}});
    }
    return list;
}

}  // namespace

StartRoutes::StartRoutes(UserFolders folders, std::string token,
                         std::function<void(const std::filesystem::path& folder)> open)
    : folders_(std::move(folders)),
      token_(std::move(token)),
      open_(std::move(open)),
      recent_(folders_.config / "recent.json") {}

std::filesystem::path StartRoutes::FolderInHome(const std::string& given) const {
    if (given.empty()) return Resolved(folders_.home);
    const std::filesystem::path path = PathFromUtf8(given);
    const std::filesystem::path resolved =
        Resolved(path.is_absolute() ? path : folders_.documents / path);
    if (!PathInside(resolved, Resolved(folders_.home))) {
        throw OutsideHome(QuotedPath(resolved) + " is not inside your home folder " +
                          QuotedPath(folders_.home) + ": choose a folder of your own");
    }
    return resolved;
}

std::optional<WebResponse> StartRoutes::Answer(const WebRequest& request) const {
    if (!request.path.starts_with("/start/")) return std::nullopt;
    if (!SameToken(request.header("X-Ambrevo-Token"), token_)) {
        return JsonResponse(403, ErrorJson("the start page needs the token of its address"));
    }
    const bool post = request.method == "POST";
    try {
        if (request.path == "/start/templates" && !post) return JsonResponse(200, TemplatesJson());
        constexpr std::string_view kPictures = "/start/templates/";
        if (request.path.starts_with(kPictures) && request.path.ends_with(".png") && !post) {
            return TemplatePicture(request.path.substr(kPictures.size()));
        }
        if (request.path == "/start/places" && !post) {
            return JsonResponse(200, {{"home", PathToUtf8(folders_.home)},
                                      {"documents", PathToUtf8(folders_.documents)}});
        }
        if (request.path == "/start/recent" && !post) {
            nlohmann::json list = nlohmann::json::array();
            for (const std::filesystem::path& folder : recent_.Folders()) {
                list.push_back(
                    {{"folder", PathToUtf8(folder)}, {"name", PathToUtf8(folder.filename())}});
            }
            return JsonResponse(200, list);
        }
        if (request.path == "/start/folders" && !post) return Folders(request);
        if ((request.path == "/start/new" || request.path == "/start/open") && post) {
            return Open(request);
        }
    } catch (const OutsideHome& refused) {
        return JsonResponse(403, ErrorJson(refused.what()));
    } catch (const PackError& failed) {
        return JsonResponse(400, ErrorJson(failed.what()));
    }
    return JsonResponse(404, ErrorJson("the start page has no " + std::string(request.method) +
                                       " " + std::string(request.path)));
}

WebResponse StartRoutes::TemplatePicture(std::string_view fileName) const {
    const std::string_view name = fileName.substr(0, fileName.size() - 4);
    const std::lock_guard lock(picturesLock_);
    auto found = pictures_.find(name);
    if (found == pictures_.end()) {
        found = pictures_
                    .emplace(std::string(name),
                             std::make_shared<const std::string>(TemplatePreviewPng(name)))
                    .first;
    }
    return {200, "image/png", found->second, {}, {}};
}

WebResponse StartRoutes::Folders(const WebRequest& request) const {
    const std::filesystem::path folder =
        FolderInHome(request.parameter ? request.parameter("path") : std::string());
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        throw PackError(QuotedPath(folder) + " is not a folder");
    }
    std::vector<std::string> names;
    bool cut = false;
    for (std::filesystem::directory_iterator entry(
             folder, std::filesystem::directory_options::skip_permission_denied, error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::string name = PathToUtf8(entry->path().filename());
        std::error_code typeError;
        if (IsHiddenName(name) || !entry->is_directory(typeError)) continue;
        if (names.size() == kListedFolders) {
            cut = true;
            break;
        }
        names.push_back(name);
    }
    if (error) throw PackError("cannot list " + QuotedPath(folder) + ": " + error.message());
    std::sort(names.begin(), names.end());
    const bool atHome = folder == Resolved(folders_.home);
    return JsonResponse(
        200,
        {{"path", PathToUtf8(folder)},
         {"parent", atHome ? nlohmann::json() : nlohmann::json(PathToUtf8(folder.parent_path()))},
         {"disc", std::filesystem::is_regular_file(folder / "package.toml", error)},
         {"folders", names},
         {"cut", cut}});
}

WebResponse StartRoutes::Open(const WebRequest& request) const {
    const nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
    if (!body.is_object() || !body.contains("folder") || !body["folder"].is_string()) {
        throw PackError("name the disc's folder: {\"folder\": \"...\"}");
    }
    const std::filesystem::path folder = FolderInHome(body["folder"].get<std::string>());
    if (request.path == "/start/new") {
        const nlohmann::json chosen = body.value("template", nlohmann::json());
        if (!chosen.is_string()) throw PackError("choose a template for the new disc");
        MakeDiscFromTemplate(folder, chosen.get<std::string>());
    } else {
        std::error_code error;
        if (!std::filesystem::is_directory(folder, error)) {
            throw PackError(QuotedPath(folder) + " is not a folder");
        }
    }
    open_(folder);
    try {
        recent_.Add(folder);
    } catch (const PackError&) {
        // The list is a convenience: the disc is open all the same.
    }
    return JsonResponse(200, {{"folder", PathToUtf8(folder)}, {"address", "/?token=" + token_}});
}

}  // namespace ambrevo::pack
