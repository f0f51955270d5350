#include "pack/cli/command_guard.h"
#include "pack/common/pack_error.h"
#include "pack/web/web_commands.h"

namespace ambrevo::pack {

int RunServe(const WebOptions&, std::optional<int>, std::ostream&, std::ostream& err) {
    return Guarded(err, []() -> int {
        throw PackError(
            "serve is not part of the Windows build of ambrevo-pack: run it on Linux, or "
            "write the page with \"web\" and open it through any web server");
    });
}

}  // namespace ambrevo::pack
