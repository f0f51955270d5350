#include "pack/start/start_command.h"

#include <chrono>
#include <csignal>
#include <thread>

#include "pack/start/browser_opener.h"
#include "pack/common/command_guard.h"
#include "pack/editor/edit_routes.h"
#include "pack/page/web_server.h"
#include "pack/page/web_site.h"
#include "pack/start/running_instance.h"
#include "pack/start/start_server.h"

namespace ambrevo::pack {

namespace {

constexpr int kPreferredPort = 8080;
constexpr auto kPollInterval = std::chrono::milliseconds(200);
constexpr auto kEditedInterval = std::chrono::milliseconds(10);

volatile std::sig_atomic_t stopAsked = 0;

extern "C" void AskToStop(int) { stopAsked = 1; }

// The running start page is shown rather than a second server started.
int ShowRunning(const RunningAddress& running, bool openBrowser, std::ostream& out) {
    out << "The start page is running already: " << running.StartPage() << std::endl;
    if (openBrowser) ShowInBrowser(running.StartPage(), out);
    return kCommandSuccess;
}

// Takes the address file away when it is still this server's.
void ForgetAddress(const std::filesystem::path& file, const std::string& token) {
    const std::optional<RunningAddress> kept = ReadRunningAddress(file);
    std::error_code ignored;
    if (kept && kept->token == token) std::filesystem::remove(file, ignored);
}

}  // namespace

int RunStart(const StartOptions& options, std::ostream& out, std::ostream& err) {
    return Guarded(err, [&] {
        const UserFolders folders = ThisUsersFolders();
        const std::filesystem::path addressFile = folders.runtime / "running.json";
        if (const std::optional<RunningAddress> running = ReadRunningAddress(addressFile);
            running && StartPageAnswers(*running)) {
            return ShowRunning(*running, options.openBrowser, out);
        }
        const std::string token = NewEditToken();
        StartServer start(FindWebSite(options.site), folders, token);
        WebServer server(start.PageRoutes(), start.Served());
        const int bound = BindServer(server, options.port, kPreferredPort);
        std::signal(SIGINT, AskToStop);
        std::signal(SIGTERM, AskToStop);
        server.Start();
        WriteRunningAddress(addressFile, {bound, token});
        const std::string address = RunningAddress{bound, token}.StartPage();
        out << "Serving " << address << " (Ctrl+C stops)" << std::endl;
        if (options.openBrowser) ShowInBrowser(address, out);
        auto nextPoll = std::chrono::steady_clock::now() + kPollInterval;
        while (!stopAsked && !start.PagesGone()) {
            std::this_thread::sleep_for(kEditedInterval);
            const bool poll = std::chrono::steady_clock::now() >= nextPoll;
            if (poll) nextPoll = std::chrono::steady_clock::now() + kPollInterval;
            start.Refresh(poll);
        }
        out << (stopAsked ? "Stopped." : "The tool's pages are closed: stopped.") << std::endl;
        server.Stop();
        ForgetAddress(addressFile, token);
        return kCommandSuccess;
    });
}

}  // namespace ambrevo::pack
