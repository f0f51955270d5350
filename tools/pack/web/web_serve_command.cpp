#include <chrono>
#include <thread>

#include "pack/cli/command_guard.h"
#include "pack/common/pack_error.h"
#include "pack/web/live_package.h"
#include "pack/web/web_build.h"
#include "pack/web/web_commands.h"
#include "pack/web/web_server.h"
#include "pack/web/web_site.h"

namespace ambrevo::pack {
namespace {

constexpr int kPreferredPort = 8080;
constexpr auto kPollInterval = std::chrono::milliseconds(200);

int BindPort(WebServer& server, std::optional<int> port) {
    if (port) {
        if (*port < 0 || *port > 65535) {
            throw PackError("the port must be 0 to 65535, not " + std::to_string(*port));
        }
        if (const std::optional<int> bound = server.Bind(*port)) return *bound;
        throw PackError("cannot serve on 127.0.0.1:" + std::to_string(*port) +
                        ": the port is taken");
    }
    if (const std::optional<int> bound = server.Bind(kPreferredPort)) return *bound;
    if (const std::optional<int> bound = server.Bind(0)) return *bound;
    throw PackError("cannot serve on 127.0.0.1: no free port");
}

void ReportBuild(const LivePackage& package, std::ostream& out) {
    const PackageSnapshot snapshot = package.Current();
    if (snapshot.error) {
        out << "error: " << *snapshot.error << " (the page keeps the last good menu)\n";
    } else {
        out << "built: generation " << snapshot.generation << "\n";
    }
    out.flush();
}

}  // namespace

int RunServe(const WebOptions& options, std::optional<int> port, std::ostream& out,
             std::ostream& err) {
    return Guarded(err, [&] {
        const std::filesystem::path site = FindWebSite(options.site);
        const std::filesystem::path disc = DiscFolderFor(options.source, options.disc);
        LivePackage package(options.source);
        package.Build();
        ReportBuild(package, out);
        const WebRoutes routes{site, disc, &package, true};
        WebServer server(routes);
        const int bound = BindPort(server, port);
        if (!port && bound != kPreferredPort) {
            out << "port " << kPreferredPort << " is taken; using " << bound << "\n";
        }
        server.Start();
        out << "Serving http://127.0.0.1:" << bound << "/ \u2014 Ctrl+C stops" << std::endl;
        for (;;) {
            std::this_thread::sleep_for(kPollInterval);
            if (package.Poll()) ReportBuild(package, out);
        }
        return kCommandSuccess;
    });
}

}  // namespace ambrevo::pack
