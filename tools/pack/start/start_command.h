#pragma once

#include <filesystem>
#include <optional>
#include <ostream>

namespace ambrevo::pack {

struct StartOptions {
    std::optional<int> port;                    // nullopt: 8080, else a free one
    bool openBrowser = true;                    // show the start page in the default browser
    std::optional<std::filesystem::path> site;  // the browser player's page; see FindWebSite
};

// The tool without a command: the designer's server on its start page (StartServer),
// shown in the default browser. Returns only on a failure to start.
int RunStart(const StartOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ambrevo::pack
