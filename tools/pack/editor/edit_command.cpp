#include "pack/editor/edit_command.h"

#include "pack/cli/command_guard.h"
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
        EditSession session(options.source);
        const EditRoutes routes(session, NewEditToken());
        return ServePage(
            options, port, [&routes](const WebRequest& request) { return routes.Answer(request); },
            "?token=" + routes.Token(), out);
    });
}

}  // namespace ambrevo::pack
