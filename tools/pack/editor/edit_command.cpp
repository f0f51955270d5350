#include "pack/editor/edit_command.h"

#include <atomic>

#include "pack/common/command_guard.h"
#include "pack/common/pack_error.h"
#include "pack/editor/edit_routes.h"
#include "pack/editor/edit_session.h"

namespace ambrevo::pack {

int RunEdit(const WebOptions& options, std::optional<int> port, std::ostream& out,
            std::ostream& err) {
    return Guarded(err, [&] {
        if (options.source.extension() != ".toml") {
            throw PackError("edit changes a menu's TOML sources: give its package.toml or a "
                            "menu's TOML file");
        }
        // Each picture decoded once, for the model and checks and for the builds.
        const auto pictures = std::make_shared<PictureCache>();
        EditSession session(options.source, pictures);
        const EditRoutes routes(session, NewEditToken());
        std::atomic<bool> edited = false;
        ServeExtras extras;
        extras.routes = routes.Served(edited);
        extras.query = "?token=" + routes.Token();
        extras.buildNow = &edited;
        extras.pictures = pictures;
        return ServePage(options, port, std::move(extras), out);
    });
}

}  // namespace ambrevo::pack
