#include "pack/package/disc_targets.h"

#include <set>
#include <vector>

#include "actions/target_paths.h"
#include "pack/common/disc_files.h"
#include "pack/common/file_io.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

// Stands for the disc's root in resolved targets: no real path holds "?".
constexpr char kDiscRoot[] = "?:\\";
constexpr std::string_view kHiddenRun = "%NOPROC%";

// The path with "." parts dropped and ".." taking back the part before it, as Windows
// reads a path; ".." at the root stays at the root. A trailing "/" is kept.
std::string Normalized(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string joined;
    for (const std::string_view part : parts) {
        if (!joined.empty()) joined += '/';
        joined += part;
    }
    if (!joined.empty() && path.back() == '/') joined += '/';
    return joined;
}

// The disc folder's published files and the folders that hold them, lower-cased.
struct DiscNames {
    std::set<std::string> files;
    std::set<std::string> folders;  // each ending in "/"
};

DiscNames NamesOn(const std::filesystem::path& disc) {
    DiscNames names;
    for (const std::string& file : ListDiscFiles(disc).files) {
        const std::string lower = AsciiLower(file);
        for (std::size_t slash = lower.find('/'); slash != std::string::npos;
             slash = lower.find('/', slash + 1)) {
            names.folders.insert(lower.substr(0, slash + 1));
        }
        names.files.insert(lower);
    }
    return names;
}

bool Holds(const DiscNames& names, const std::string& path) {
    if (path.empty()) return true;  // the root itself
    const std::string lower = AsciiLower(path);
    if (lower.back() == '/') return names.folders.count(lower) > 0;
    return names.files.count(lower) > 0 || names.folders.count(lower + "/") > 0;
}

}  // namespace

std::optional<DiscTarget> DiscTargetOf(std::string_view target) {
    std::string path;
    if (target.substr(0, kHiddenRun.size()) == kHiddenRun) {
        path = ExpandCdVariable(std::string(target.substr(kHiddenRun.size())), kDiscRoot);
    } else if (!target.empty() && target != "*" && target.front() != '$' && IsFileTarget(target)) {
        path = ResolveFileTarget(std::string(target), kDiscRoot);
    } else {
        return std::nullopt;
    }
    path = SlashesToBackslashes(UnquotedPath(path));
    if (path.empty()) return std::nullopt;
    bool relative = false;
    if (path.compare(0, sizeof kDiscRoot - 1, kDiscRoot) == 0) {
        path.erase(0, sizeof kDiscRoot - 1);
    } else if (path.find(':') != std::string::npos || path.front() == '\\') {
        return std::nullopt;
    } else {
        relative = true;
    }
    const bool bareName = relative && path.find('\\') == std::string::npos;
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return DiscTarget{Normalized(path), bareName};
}

void WarnAboutMissingDiscTargets(const PackageSource& package, const std::filesystem::path& disc,
                                 Diagnostics& diagnostics) {
    const DiscNames names = NamesOn(disc);
    for (const MenuSource& menu : package.menus) {
        for (const ShellTargetUse& target : menu.shellTargets) {
            const std::optional<DiscTarget> found = DiscTargetOf(target.text);
            if (!found || found->alsoSearchedElsewhere || Holds(names, found->path)) continue;
            diagnostics.Warn(menu.fileName, target.line,
                             "\"" + target.text + "\" is not in the disc folder " +
                                 QuotedPath(disc) +
                                 ": the player will search the disc for it and say it cannot "
                                 "find it");
        }
    }
}

}  // namespace ambrevo::pack
