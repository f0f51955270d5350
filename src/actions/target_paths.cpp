#include "actions/target_paths.h"

#include <algorithm>

#include "support/ascii.h"

namespace ambrevo {
namespace {

constexpr char kPathDelimiters[] = "\\:";
constexpr std::string_view kCdVariable = "%CD%";
constexpr std::string_view kPilcrow = "\u00B6";  // in UTF-8, as the player's texts are

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

bool IsWebTarget(std::string_view target) {
    return StartsWithIgnoringCase(target, "http") || StartsWithIgnoringCase(target, "www") ||
           StartsWithIgnoringCase(target, "ftp");
}

bool IsMailTarget(std::string_view target) {
    return !IsWebTarget(target) && StartsWithIgnoringCase(target, "mailto");
}

bool IsFileTarget(std::string_view target) { return !IsWebTarget(target) && !IsMailTarget(target); }

bool IsMenuTarget(std::string_view target) {
    return EndsWithIgnoringCase(target, ".mnu") && target.find_first_of("/\\") == target.npos;
}

std::string FolderPart(std::string_view path) {
    const std::size_t last = path.find_last_of(kPathDelimiters);
    return std::string(last == path.npos ? std::string_view() : path.substr(0, last + 1));
}

std::string FileNamePart(std::string_view path) {
    const std::size_t last = path.find_last_of(kPathDelimiters);
    return std::string(last == path.npos ? path : path.substr(last + 1));
}

std::string ProgramDrive(const std::string& programFolder) { return programFolder.substr(0, 2); }

std::string ExpandCdVariable(const std::string& text, const std::string& programFolder) {
    const std::string letter = programFolder.substr(0, 1);
    std::string result = text;
    // A replacement can complete a new "%CD%" only with the three characters before it,
    // so the search resumes there rather than at the start; the outcome is the same.
    std::size_t from = 0;
    for (std::size_t found; (found = result.find(kCdVariable, from)) != result.npos;) {
        result.replace(found, kCdVariable.size(), letter);
        from = found >= kCdVariable.size() - 1 ? found - (kCdVariable.size() - 1) : 0;
    }
    return result;
}

std::string ResolveFileTarget(const std::string& target, const std::string& programFolder) {
    if (IsQuotedPath(target)) {
        return '"' + ResolveFileTarget(UnquotedPath(target), programFolder) + '"';
    }
    const bool belowProgram = !target.empty() && target.front() == '%';
    std::string result = belowProgram ? programFolder + target.substr(1) : target;
    if (IsFileTarget(result)) result = SlashesToBackslashes(std::move(result));
    // A program folder on a network share begins with "\" itself: it is already a full
    // path and must not get the drive in front a second time.
    if (!belowProgram && !result.empty() && result.front() == '\\') {
        result.insert(0, ProgramDrive(programFolder));
    }
    return result;
}

bool IsQuotedPath(std::string_view target) {
    return target.size() >= 2 && target.front() == '"' && target.find('"', 1) == target.size() - 1;
}

std::string UnquotedPath(std::string_view target) {
    return std::string(IsQuotedPath(target) ? target.substr(1, target.size() - 2) : target);
}

std::string SlashesToBackslashes(std::string text) {
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::string PilcrowsToLineBreaks(std::string text) {
    for (std::size_t at = text.find(kPilcrow); at != std::string::npos;
         at = text.find(kPilcrow, at + 1)) {
        text.replace(at, kPilcrow.size(), "\r");
    }
    return text;
}

std::string QuoteParameters(const std::string& parameters, const std::string& file) {
    if (parameters.empty() || (!file.empty() && file.front() == '"')) return parameters;
    if (std::string_view("\\/ -").find(parameters.front()) != std::string_view::npos) {
        return parameters;
    }
    return '"' + parameters + '"';
}

std::string FallbackMenuName(const std::string& file) {
    const std::size_t dot = file.rfind('.');
    const std::size_t start = dot == file.npos ? 1 : dot + 1;
    return (start < file.size() ? file.substr(start) : std::string()) + ".mnu";
}

}  // namespace ambrevo
