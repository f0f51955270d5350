#include "pack/start/start_command.h"

#include <chrono>
#include <thread>

#include "pack/common/command_guard.h"
#include "pack/editor/edit_routes.h"
#include "pack/page/web_commands.h"
#include "pack/page/web_server.h"
#include "pack/page/web_site.h"
#include "pack/start/start_server.h"

namespace ambrevo::pack {

namespace {

constexpr int kPreferredPort = 8080;
constexpr auto kPollInterval = std::chrono::milliseconds(200);
constexpr auto kEditedInterval = std::chrono::milliseconds(10);

}  // namespace

int RunStart(const StartOptions& options, std::ostream& out, std::ostream& err) {
    return Guarded(err, [&] {
        const std::string token = NewEditToken();
        StartServer start(FindWebSite(options.site), ThisUsersFolders(), token);
        WebServer server(start.PageRoutes(), start.Served());
        const int bound = BindServer(server, options.port, kPreferredPort);
        server.Start();
        AnnounceAddress("http://127.0.0.1:" + std::to_string(bound) + "/" + StartPageQuery(token),
                        options.openBrowser, out);
        auto nextPoll = std::chrono::steady_clock::now() + kPollInterval;
        for (;;) {
            std::this_thread::sleep_for(kEditedInterval);
            const bool poll = std::chrono::steady_clock::now() >= nextPoll;
            if (poll) nextPoll = std::chrono::steady_clock::now() + kPollInterval;
            start.Refresh(poll);
        }
        return kCommandSuccess;
    });
}

}  // namespace ambrevo::pack
