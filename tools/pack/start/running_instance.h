#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ambrevo::pack {

// The start page's path on the server.
inline constexpr std::string_view kStartPagePath = "/start.html";

// Where a running start page is: its port and token, kept in a small file that only the
// user may read, so that a second start opens the running page instead of a second server.
struct RunningAddress {
    int port = 0;
    std::string token;

    std::string StartPage() const;  // its start page's address, token included
};

// The address the file gives; none when it is missing or damaged.
std::optional<RunningAddress> ReadRunningAddress(const std::filesystem::path& file);
// Writes the file, readable by the user alone. Throws PackError when it cannot.
void WriteRunningAddress(const std::filesystem::path& file, const RunningAddress& address);
// Whether a start page answers at the address with its token: a file left by a tool that
// ended is ignored, as is a server of someone else on the port.
bool StartPageAnswers(const RunningAddress& address);

// Whether the tool's pages are gone: none has asked anything for the grace period, once one
// has. The grace outlasts a reload and a browser's slowing of hidden pages' timers.
class PageWatch {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kGrace = std::chrono::seconds(90);

    void Seen(Clock::time_point when) { last_ = when; }
    bool Gone(Clock::time_point now) const { return last_ && now - *last_ > kGrace; }

private:
    std::optional<Clock::time_point> last_;
};

}  // namespace ambrevo::pack
