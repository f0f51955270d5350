#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>

#include "pack/page/web_routes.h"

namespace ambrevo::pack {

// The page's "Build disc": POST /build with {"label", "bits"?: 32 or 64, "folder"?, "iso"?,
// "usb"?, "sign"?: {"certificate", "password", "timestamp"?}} builds the disc as the build
// command does (RunBuild): into folder (relative to the source's folder; default "output")
// it writes disc/setup.exe with disc/autorun.inf, and, as asked, disc.iso and the USB copy
// usb/. The answer, when the build ran, is 200 with {"ok", "outputs": [{"kind", "path",
// "bytes"}], "messages": [every problem and warning, one line each]}; a request that cannot
// be a build is 400 with {"error"}. The password is used for this build only: never kept,
// written or logged. One build runs at a time.
class BuildRoute {
public:
    static constexpr std::size_t kBuildBodyLimit = 64 * 1024;

    // The route's POST and its body limit, for a server's list of the POSTs it takes.
    static std::pair<std::string, std::size_t> Post() { return {"/build", kBuildBodyLimit}; }

    // source: the package.toml or menu TOML file being designed; disc: the files beside
    // the menu (see DiscFolderFor).
    BuildRoute(std::filesystem::path source, std::optional<std::filesystem::path> disc);

    // The answer to POST /build, and to GET /build: {"iso": whether this tool writes ISO
    // images}; other requests are not the route's (nullopt).
    std::optional<WebResponse> Answer(const WebRequest& request) const;

private:
    nlohmann::json Build(const nlohmann::json& request) const;

    std::filesystem::path source_;
    std::optional<std::filesystem::path> disc_;
    mutable std::mutex building_;
};

// The routes with POST /build added, answered before them; their admission (the token)
// still decides who may ask.
ExtraRoutes WithBuildRoute(ExtraRoutes routes, std::shared_ptr<const BuildRoute> build);

}  // namespace ambrevo::pack
