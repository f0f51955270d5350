#include "pack/common/file_names.h"

#include <array>

#include "support/ascii.h"
#include "support/utf8.h"

namespace ambrevo::pack {
namespace {

// Characters Windows allows in no file name, besides the control characters.
constexpr std::string_view kWindowsForbidden = "\\/:*?\"<>|";

// Whether `number` completes "COM" or "LPT" to a device: one digit, or the superscripts
// ¹ ² ³ (UTF-8) that Windows reads as digits there.
bool IsPortNumber(std::string_view number) {
    if (number.size() == 1) return number[0] >= '0' && number[0] <= '9';
    return number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
}

// Windows takes a device name with any extension and with spaces before it for the device
// itself: "nul.txt" and "NUL .tar.gz" are both NUL.
bool IsDeviceName(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    const std::string lower = AsciiLower(base);
    static constexpr std::array<std::string_view, 6> kDevices = {"con", "prn",    "aux",
                                                                 "nul", "conin$", "conout$"};
    for (const std::string_view device : kDevices) {
        if (lower == device) return true;
    }
    return (lower.starts_with("com") || lower.starts_with("lpt")) &&
           IsPortNumber(std::string_view(lower).substr(3));
}

bool IsValidUtf8(std::string_view name) {
    for (std::size_t i = 0; i < name.size();) {
        if (NextCodePoint(name, i) == kInvalidUtf8) return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> WindowsNameProblem(std::string_view name) {
    const std::string onDisc = ", which no file name on a Windows disc holds";
    if (name.empty()) return "is empty";
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) return "holds a control character" + onDisc;
        if (kWindowsForbidden.find(c) != std::string_view::npos) {
            return "holds \"" + std::string(1, c) + "\"" + onDisc;
        }
    }
    if (IsDeviceName(name)) return "is kept by Windows for a device";
    if (name.back() == '.') return "ends in a dot, which Windows drops";
    if (name.back() == ' ') return "ends in a space, which Windows drops";
    return std::nullopt;
}

bool IsHiddenName(std::string_view name) {
    if (name.starts_with('.') || name.ends_with('~')) return true;
    if (name.size() >= 2 && name.front() == '#' && name.back() == '#') return true;
    const std::string lower = AsciiLower(name);
    return lower == "thumbs.db" || lower == "desktop.ini" || lower == "$recycle.bin" ||
           lower == "system volume information";
}

NameCheck CheckPublishedName(std::string_view name) {
    if (IsHiddenName(name)) return {NameVerdict::kHidden, {}};
    if (const std::optional<std::string> problem = WindowsNameProblem(name)) {
        return {NameVerdict::kUnservable, "its name " + *problem};
    }
    if (!IsValidUtf8(name)) {
        return {NameVerdict::kUnservable,
                "its name is not UTF-8 text, which the page cannot ask for"};
    }
    return {};
}

}  // namespace ambrevo::pack
