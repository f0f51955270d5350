#include <chrono>
#include <thread>

#include "pack/common/command_guard.h"
#include "pack/common/disc_files.h"
#include "pack/page/live_package.h"
#include "pack/page/web_build.h"
#include "pack/page/web_commands.h"
#include "pack/page/web_server.h"
#include "pack/page/web_site.h"

namespace ambrevo::pack {
namespace {

constexpr int kPreferredPort = 8080;
constexpr auto kPollInterval = std::chrono::milliseconds(200);
constexpr auto kBuildNowInterval = std::chrono::milliseconds(10);

void ReportBuild(const LivePackage& package, std::ostream& out) {
    const PackageSnapshot snapshot = package.Current();
    if (snapshot.error) {
        out << "error: " << *snapshot.error << " (the page keeps the last good menu)\n";
    } else {
        out << "built: generation " << snapshot.generation << "\n";
    }
    out.flush();
}

// What of the disc the page shows, as it starts: no disc folder, or the names left out.
void ReportDisc(const WebOptions& options, const std::optional<std::filesystem::path>& disc,
                std::ostream& out) {
    if (!disc) {
        out << NoDiscFolderNote(options.source) << "\n";
        return;
    }
    for (const std::string& warning : ListDiscFiles(disc).warnings) out << warning << "\n";
}

}  // namespace

int RunServe(const WebOptions& options, std::optional<int> port, std::ostream& out,
             std::ostream& err) {
    return Guarded(err, [&] { return ServePage(options, port, {}, out); });
}

int ServePage(const WebOptions& options, std::optional<int> port, ServeExtras extras,
              std::ostream& out) {
    const std::filesystem::path site = FindWebSite(options.site);
    const std::optional<std::filesystem::path> disc = DiscFolderFor(options.source, options.disc);
    LivePackage package(options.source, extras.pictures);
    package.Build();
    ReportBuild(package, out);
    ReportDisc(options, disc, out);
    const WebRoutes routes{site, disc, &package, true};
    WebServer server(routes, std::move(extras.routes));
    const int bound = BindServer(server, port, kPreferredPort);
    if (!port && bound != kPreferredPort) {
        out << "port " << kPreferredPort << " is taken; using " << bound << "\n";
    }
    server.Start();
    const std::string address = "http://127.0.0.1:" + std::to_string(bound) + "/" + extras.query;
    out << "Serving " << address << " (Ctrl+C stops)" << std::endl;
    if (extras.served) extras.served(address);
    auto nextPoll = std::chrono::steady_clock::now() + kPollInterval;
    for (;;) {
        std::this_thread::sleep_for(extras.buildNow ? kBuildNowInterval : kPollInterval);
        if (extras.buildNow && extras.buildNow->exchange(false)) {
            package.Build();
            ReportBuild(package, out);
        } else if (std::chrono::steady_clock::now() >= nextPoll) {
            nextPoll = std::chrono::steady_clock::now() + kPollInterval;
            if (package.Poll()) ReportBuild(package, out);
        }
    }
    return kCommandSuccess;
}

}  // namespace ambrevo::pack
