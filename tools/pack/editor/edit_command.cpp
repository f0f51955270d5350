#include "pack/editor/edit_command.h"

#include <atomic>

#include "pack/common/command_guard.h"
#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/disc/build_route.h"
#include "pack/editor/edit_routes.h"
#include "pack/editor/edit_session.h"
#include "pack/page/web_build.h"

namespace ambrevo::pack {

WebOptions EditedSource(WebOptions options) {
    std::error_code error;
    if (std::filesystem::is_directory(options.source, error)) {
        options.source /= "package.toml";
    }
    if (options.source.extension() != ".toml") {
        throw PackError(
            "edit changes a menu's TOML sources: give its package.toml, a menu's "
            "TOML file or a folder");
    }
    const bool exists = std::filesystem::exists(options.source, error);
    if (!exists && options.source.filename() != "package.toml") {
        throw PackError(QuotedPath(options.source) +
                        " does not exist: give a package.toml (which the designer writes when "
                        "it is not there yet) or a folder");
    }
    if (!exists && !std::filesystem::is_directory(options.source.parent_path().empty()
                                                      ? std::filesystem::path(".")
                                                      : options.source.parent_path(),
                                                  error)) {
        throw PackError("there is no folder for " + QuotedPath(options.source));
    }
    return options;
}

ExtraRoutes DesignerRoutes(const EditRoutes& routes, std::atomic<bool>& edited,
                           const WebOptions& options) {
    return WithBuildRoute(routes.Served(edited),
                          std::make_shared<const BuildRoute>(
                              options.source, DiscFolderFor(options.source, options.disc)));
}

int RunEdit(const WebOptions& given, std::optional<int> port, std::ostream& out, std::ostream& err,
            std::function<void(const std::string& address)> served) {
    return Guarded(err, [&] {
        const WebOptions options = EditedSource(given);
        // Each picture decoded once, for the model and checks and for the builds.
        const auto pictures = std::make_shared<PictureCache>();
        EditSession session(options.source, pictures);
        const EditRoutes routes(session, NewEditToken());
        std::atomic<bool> edited = false;
        ServeExtras extras;
        extras.routes = DesignerRoutes(routes, edited, options);
        extras.query = "?token=" + routes.Token();
        extras.buildNow = &edited;
        extras.pictures = pictures;
        extras.served = std::move(served);
        return ServePage(options, port, std::move(extras), out);
    });
}

}  // namespace ambrevo::pack
