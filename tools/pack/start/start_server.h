#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "pack/page/web_routes.h"
#include "pack/start/running_instance.h"
#include "pack/start/start_routes.h"

namespace ambrevo::pack {

// The start page and the designer in one server: the start page's routes, and those of
// the designer on the disc folder opened last (none until one is), which every request
// after the opening reaches. One token serves both.
class StartServer {
public:
    StartServer(std::filesystem::path site, UserFolders folders, std::string token);
    ~StartServer();

    // The routes the page's server is made with: the start page's, then the open designer's.
    const WebRoutes& PageRoutes() const { return siteOnly_; }
    ExtraRoutes Served();

    // Makes the designer the folder's (its package.toml, which may not exist yet), built
    // once. Throws PackError when the folder cannot be edited.
    void Open(const std::filesystem::path& folder);
    // Whether the pages are gone (PageWatch): none has asked anything for a while.
    bool PagesGone() const;

    // Builds the open designer's package again when it was edited, or when a poll finds
    // its sources changed; called from the serving loop.
    void Refresh(bool poll);

private:
    struct Designer;
    std::shared_ptr<Designer> Current() const;

    std::filesystem::path site_;
    std::string token_;
    WebRoutes siteOnly_;
    StartRoutes start_;
    mutable std::mutex mutex_;
    std::shared_ptr<Designer> designer_;
    PageWatch pages_;
};

}  // namespace ambrevo::pack
