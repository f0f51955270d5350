#include "pack/web/disc_files.h"

#include <algorithm>
#include <system_error>

#include "pack/common/file_io.h"
#include "support/json_string.h"
#include "support/utf8.h"

namespace ambrevo::pack {
namespace {

// Characters Windows allows in no file name, besides the control characters.
constexpr std::string_view kWindowsForbidden = "\\/:*?\"<>|";

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
    const std::filesystem::path relative = canonical.lexically_relative(root);
    if (relative.empty()) return false;
    for (const std::filesystem::path& part : relative) {
        if (CheckDiscName(Utf8Name(part)).verdict != DiscName::kPublished) return false;
    }
    return true;
}

}  // namespace

DiscNameCheck CheckDiscName(std::string_view name) {
    const std::string_view onDisc = ", which no file name on a Windows disc holds";
    if (name.empty()) return {DiscName::kUnservable, "its name is empty"};
    if (name.front() == '.') return {DiscName::kHidden, {}};
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) {
            return {DiscName::kUnservable,
                    "its name holds a control character" + std::string(onDisc)};
        }
        if (kWindowsForbidden.find(c) != std::string_view::npos) {
            return {DiscName::kUnservable,
                    "its name holds \"" + std::string(1, c) + "\"" + std::string(onDisc)};
        }
    }
    for (std::size_t i = 0; i < name.size();) {
        if (NextCodePoint(name, i) == kInvalidUtf8) {
            return {DiscName::kUnservable,
                    "its name is not UTF-8 text, which the page cannot ask for"};
        }
    }
    return {};
}

DiscListing ListDiscFiles(const std::optional<std::filesystem::path>& disc) {
    DiscListing listing;
    if (!disc) return listing;
    std::error_code error;
    const std::filesystem::path root = std::filesystem::canonical(*disc, error);
    if (error) return listing;
    std::vector<std::pair<std::string, std::string>> leftOut;  // by name, to sort them
    std::filesystem::recursive_directory_iterator walk(
        root, std::filesystem::directory_options::skip_permission_denied, error);
    for (; !error && walk != std::filesystem::recursive_directory_iterator();
         walk.increment(error)) {
        std::error_code fileError;
        const bool folder = walk->is_directory(fileError);
        const DiscNameCheck name = CheckDiscName(Utf8Name(walk->path().filename()));
        if (name.verdict != DiscName::kPublished) {
            if (folder) walk.disable_recursion_pending();
            if (name.verdict == DiscName::kUnservable) {
                const std::string relative = Utf8Name(walk->path().lexically_relative(root));
                leftOut.emplace_back(
                    relative, "warning: disc " + std::string(folder ? "folder" : "file") + " \"" +
                                  relative + "\" left out" + (folder ? " with its files: " : ": ") +
                                  name.reason);
            }
            continue;
        }
        if (!walk->is_regular_file(fileError)) continue;
        const std::filesystem::path target = std::filesystem::canonical(walk->path(), fileError);
        if (fileError || !PublishedInside(root, target)) continue;
        listing.files.push_back(Utf8Name(walk->path().lexically_relative(root)));
    }
    std::sort(listing.files.begin(), listing.files.end());
    std::sort(leftOut.begin(), leftOut.end());
    for (auto& [name, warning] : leftOut) listing.warnings.push_back(std::move(warning));
    return listing;
}

DiscFile FindDiscFile(const std::optional<std::filesystem::path>& disc, std::string_view relative) {
    for (const std::string_view part : PathParts(relative)) {
        if (CheckDiscName(part).verdict != DiscName::kPublished) return {DiscLookup::kRefused, {}};
    }
    if (!disc) return {DiscLookup::kMissing, {}};
    std::error_code error;
    const std::filesystem::path root = std::filesystem::canonical(*disc, error);
    if (error) return {DiscLookup::kMissing, {}};
    const std::filesystem::path file = root / PathFromUtf8(relative);
    const std::filesystem::path target = std::filesystem::weakly_canonical(file, error);
    if (error) return {DiscLookup::kMissing, {}};
    if (!PublishedInside(root, target)) return {DiscLookup::kRefused, {}};
    if (!std::filesystem::is_regular_file(target, error)) return {DiscLookup::kMissing, {}};
    return {DiscLookup::kFound, target};
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
