#include "backends/web/services/web_shell_launcher.h"

#include <string>

#include "backends/web/bridge/web_host.h"
#include "backends/web/services/web_disc.h"
#include "support/json_string.h"

namespace ambrevo::web {

ShellResult WebShellLauncher::Launch(const ShellRequest& request) {
    const bool exists = disc_.FileExists(request.file) || disc_.Attributes(request.file);
    const std::string json = "{\"verb\":" + JsonString(request.verb) +
                             ",\"file\":" + JsonString(request.file) +
                             ",\"parameters\":" + JsonString(request.parameters) +
                             ",\"folder\":" + JsonString(request.folder) +
                             ",\"exists\":" + (exists ? "true" : "false") + "}";
    ambrevo_host_launch_shown(json.data(), json.size());
    ShellResult result;
    result.succeeded = true;
    return result;
}

}  // namespace ambrevo::web
