#include "pack/web/web_site.h"

#include <cstdlib>
#include <system_error>

#include "pack/common/pack_error.h"

namespace ambrevo::pack {

std::filesystem::path FindWebSite(const std::optional<std::filesystem::path>& given) {
    std::filesystem::path site;
    if (given) {
        site = *given;
    } else if (const char* environment = std::getenv("AMBREVO_WEB_SITE");
               environment != nullptr && *environment != '\0') {
        site = environment;
    } else {
#ifdef AMBREVO_WEB_SITE_DIR
        site = AMBREVO_WEB_SITE_DIR;
#endif
    }
    std::error_code error;
    if (site.empty() || !std::filesystem::is_regular_file(site / "ambrevo-web.wasm", error)) {
        throw PackError(
            "the browser player is not built: run \"make web\" (needs Debian's "
            "emscripten)");
    }
    return site;
}

}  // namespace ambrevo::pack
