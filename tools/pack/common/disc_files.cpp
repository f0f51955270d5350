#include "pack/common/disc_files.h"

#include <algorithm>
#include <system_error>

#include "pack/common/file_io.h"
#include "pack/common/file_names.h"
#include "pack/common/real_path.h"
#include "support/json_string.h"

namespace ambrevo::pack {
namespace {

std::string Utf8Name(const std::filesystem::path& path) {
    const std::u8string name = path.generic_u8string();
    return std::string(name.begin(), name.end());
}

// The parts of a relative path between its slashes, empty ones included.
std::vector<std::string_view> PathParts(std::string_view relative) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = relative.find('/', start);
        parts.push_back(relative.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

// Whether a file, links resolved, lies inside the disc folder under published names only,
// so that a link cannot publish what its target's own name would not.
bool PublishedInside(const std::filesystem::path& root, const std::filesystem::path& canonical) {
    const std::optional<std::filesystem::path> relative = PathInside(canonical, root);
    if (!relative || *relative == ".") return false;
    for (const std::filesystem::path& part : *relative) {
        if (CheckPublishedName(Utf8Name(part)).verdict != NameVerdict::kPublished) return false;
    }
    return true;
}

}  // namespace

DiscListing ListDiscFiles(const std::optional<std::filesystem::path>& disc) {
    DiscListing listing;
    if (!disc) return listing;
    const std::optional<std::filesystem::path> real = RealPath(*disc);
    if (!real) return listing;
    const std::filesystem::path& root = *real;
    std::vector<std::pair<std::string, std::string>> leftOut;  // by name, to sort them
    std::error_code error;
    std::filesystem::recursive_directory_iterator walk(
        root, std::filesystem::directory_options::skip_permission_denied, error);
    for (; !error && walk != std::filesystem::recursive_directory_iterator();
         walk.increment(error)) {
        std::error_code fileError;
        const bool folder = walk->is_directory(fileError);
        const NameCheck name = CheckPublishedName(Utf8Name(walk->path().filename()));
        // A linked folder is not entered: the walk of MinGW's std::filesystem would follow
        // a junction out of the folder.
        if (folder && (name.verdict != NameVerdict::kPublished || IsLink(walk->path()))) {
            walk.disable_recursion_pending();
        }
        if (name.verdict != NameVerdict::kPublished) {
            if (name.verdict == NameVerdict::kUnservable) {
                const std::string relative = Utf8Name(walk->path().lexically_relative(root));
                leftOut.emplace_back(
                    relative, "warning: disc " + std::string(folder ? "folder" : "file") + " \"" +
                                  relative + "\" left out" + (folder ? " with its files: " : ": ") +
                                  name.reason);
            }
            continue;
        }
        if (!walk->is_regular_file(fileError)) continue;
        const std::optional<std::filesystem::path> target = RealPath(walk->path());
        if (!target || !PublishedInside(root, *target)) continue;
        listing.files.push_back(Utf8Name(walk->path().lexically_relative(root)));
    }
    std::sort(listing.files.begin(), listing.files.end());
    std::sort(leftOut.begin(), leftOut.end());
    for (auto& [name, warning] : leftOut) listing.warnings.push_back(std::move(warning));
    return listing;
}

DiscFile FindDiscFile(const std::optional<std::filesystem::path>& disc, std::string_view relative) {
    for (const std::string_view part : PathParts(relative)) {
        if (CheckPublishedName(part).verdict != NameVerdict::kPublished) {
            return {DiscLookup::kRefused, {}};
        }
    }
    if (!disc) return {DiscLookup::kMissing, {}};
    const std::optional<std::filesystem::path> root = RealPath(*disc);
    if (!root) return {DiscLookup::kMissing, {}};
    // Resolved, the path has its long names (not "GIT~1" for ".git") for the rule.
    const std::optional<std::filesystem::path> target = RealPath(*root / PathFromUtf8(relative));
    if (!target) return {DiscLookup::kMissing, {}};
    if (!PublishedInside(*root, *target)) return {DiscLookup::kRefused, {}};
    std::error_code error;
    if (!std::filesystem::is_regular_file(*target, error)) return {DiscLookup::kMissing, {}};
    return {DiscLookup::kFound, *target};
}

std::string FilesJson(const std::vector<std::string>& files) {
    std::string json = "{\"files\": [";
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i > 0) json += ", ";
        json += JsonString(files[i]);
    }
    return json + "]}";
}

}  // namespace ambrevo::pack
