#include "pack/cli/command_guard.h"
#include "pack/common/pack_error.h"
#include "pack/web/web_commands.h"

namespace ambrevo::pack {

int ServePage(const WebOptions&, std::optional<int>, ServeExtras, std::ostream&) {
    throw PackError(
        "serve and edit are not part of the Windows build of ambrevo-pack: run them on Linux, "
        "or write the page with \"web\" and open it through any web server");
}

int RunServe(const WebOptions& options, std::optional<int> port, std::ostream& out,
             std::ostream& err) {
    return Guarded(err, [&] { return ServePage(options, port, {}, out); });
}

}  // namespace ambrevo::pack
