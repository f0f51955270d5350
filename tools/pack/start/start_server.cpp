#include "pack/start/start_server.h"

#include <algorithm>
#include <atomic>

#include "pack/common/disc_files.h"
#include "pack/disc/build_route.h"
#include "pack/editor/edit_command.h"
#include "pack/editor/edit_routes.h"
#include "pack/editor/edit_session.h"
#include "pack/page/live_package.h"
#include "pack/page/web_site.h"

namespace ambrevo::pack {

namespace {

constexpr std::string_view kStartPage = kStartPagePath;

bool IsSiteFile(std::string_view path) {
    return path.starts_with('/') &&
           std::find(kSiteFiles.begin(), kSiteFiles.end(), path.substr(1)) != kSiteFiles.end();
}

}  // namespace

// The designer on one disc folder, as `edit` serves it.
struct StartServer::Designer {
    Designer(const WebOptions& options, const std::filesystem::path& site, const std::string& token)
        : session(options.source, pictures),
          routes(session, token),
          package(options.source, pictures),
          page{site, DiscFolderFor(options.source, options.disc), &package, true},
          served(DesignerRoutes(routes, edited, options)) {}

    std::shared_ptr<PictureCache> pictures = std::make_shared<PictureCache>();
    EditSession session;
    EditRoutes routes;
    LivePackage package;
    WebRoutes page;
    std::atomic<bool> edited = false;
    ExtraRoutes served;
};

StartServer::StartServer(std::filesystem::path site, UserFolders folders, std::string token)
    : site_(std::move(site)),
      token_(token),
      siteOnly_{site_, std::nullopt, nullptr, false},
      start_(std::move(folders), std::move(token),
             [this](const std::filesystem::path& folder) { Open(folder); }) {}

StartServer::~StartServer() = default;

std::shared_ptr<StartServer::Designer> StartServer::Current() const {
    const std::lock_guard lock(mutex_);
    return designer_;
}

void StartServer::Open(const std::filesystem::path& folder) {
    const WebOptions options = EditedSource({folder, std::nullopt, site_});
    auto designer = std::make_shared<Designer>(options, site_, token_);
    designer->package.Build();
    const std::lock_guard lock(mutex_);
    designer_ = std::move(designer);
}

bool StartServer::PagesGone() const {
    const std::lock_guard lock(mutex_);
    return pages_.Gone(PageWatch::Clock::now());
}

void StartServer::Refresh(bool poll) {
    const std::shared_ptr<Designer> designer = Current();
    if (!designer) return;
    if (designer->edited.exchange(false)) {
        designer->package.Build();
    } else if (poll) {
        designer->package.Poll();
    }
}

ExtraRoutes StartServer::Served() {
    ExtraRoutes routes;
    routes.admit = [this](const WebRequest& head) {
        {
            const std::lock_guard lock(mutex_);
            pages_.Seen(PageWatch::Clock::now());
        }
        const std::shared_ptr<Designer> designer = Current();
        if (head.path.starts_with("/start/") || head.path == kStartPage || !designer) {
            return Admission{};
        }
        return designer->served.admit(head);
    };
    routes.answer = [this](const WebRequest& request) -> std::optional<WebResponse> {
        if (std::optional<WebResponse> answer = start_.Answer(request)) return answer;
        if (request.path == kStartPage) return siteOnly_.Respond(request.path);
        const std::shared_ptr<Designer> designer = Current();
        if (designer) {
            if (std::optional<WebResponse> answer = designer->served.answer(request)) {
                return answer;
            }
            return designer->page.Respond(request.path);
        }
        if (request.path == "/") {
            WebResponse moved = TextResponse(303, "text/plain", "see the start page\n");
            moved.headers.emplace_back("Location", std::string(kStartPage));
            return moved;
        }
        if (IsSiteFile(request.path)) return siteOnly_.Respond(request.path);
        return Refusal(404, "no disc is open: choose one on the start page");
    };
    routes.posts = EditRoutes::Posts();
    routes.posts.push_back(BuildRoute::Post());
    routes.posts.emplace_back("/start/new", StartRoutes::kBodyLimit);
    routes.posts.emplace_back("/start/open", StartRoutes::kBodyLimit);
    return routes;
}

}  // namespace ambrevo::pack
