#include "support/message_switches.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "support/app_error.h"
#include "support/ascii.h"

namespace ambrevo {
namespace {

constexpr int kSwitchLines = 3;
// Three boolean lines fit many times over; the rest of a larger file is never read.
constexpr std::size_t kMaxBytesRead = 64 * 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// True when text is [sign] digits [. digits] with at least one digit; zero is set
// when every digit is 0. Digits are only inspected, so any length is fine.
bool ReadDecimal(std::string_view text, bool& zero) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    bool sawDigit = false;
    bool sawPoint = false;
    zero = true;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            sawDigit = true;
            if (c != '0') zero = false;
        } else if (c == '.' && !sawPoint) {
            sawPoint = true;
        } else {
            return false;
        }
    }
    return sawDigit;
}

// The first lines of the file, split on CRLF or LF. A line missing at the end of the
// file is left out, so fewer than kSwitchLines may come back.
std::vector<std::string> ReadFirstLines(ReadOnlyFile& file) {
    const auto size = static_cast<std::size_t>(
        std::clamp<std::int64_t>(file.Size(), 0, static_cast<std::int64_t>(kMaxBytesRead)));
    std::string bytes(size, '\0');
    bytes.resize(file.ReadAt(0, bytes.data(), size));

    std::vector<std::string> lines;
    std::string_view rest(bytes);
    while (!rest.empty() && lines.size() < kSwitchLines) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return lines;
}

}  // namespace

bool ParseBooleanLine(std::string_view line) {
    const std::string_view text = TrimBlanks(line);
    bool zero = false;
    if (ReadDecimal(text, zero)) return !zero;
    if (EqualsIgnoringAsciiCase(text, "true")) return true;
    if (EqualsIgnoringAsciiCase(text, "false")) return false;
    throw AppError("'" + std::string(line) + "' is not a valid boolean value");
}

void ReadMessageSwitches(FileSystem& files, const std::string& programFolder,
                         MessageSwitches& switches) {
    switches = MessageSwitches{};
    const std::string path = programFolder + "err.txt";
    if (!files.FileExists(path)) return;

    const std::vector<std::string> lines = ReadFirstLines(*files.OpenForReading(path));
    const auto line = [&lines](std::size_t index) {
        return index < lines.size() ? std::string_view(lines[index]) : std::string_view();
    };
    switches.showFileNotFoundMessage = ParseBooleanLine(line(0));
    switches.showNoViewerMessage = ParseBooleanLine(line(1));
    static_cast<void>(ParseBooleanLine(line(2)));  // checked, but switches nothing
}

}  // namespace ambrevo
