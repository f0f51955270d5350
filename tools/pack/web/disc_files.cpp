#include "pack/web/disc_files.h"

#include <algorithm>
#include <system_error>

#include "pack/common/file_io.h"
#include "support/json_string.h"

namespace ambrevo::pack {
namespace {

bool Inside(const std::filesystem::path& root, const std::filesystem::path& canonical) {
    const std::filesystem::path relative = canonical.lexically_relative(root);
    return !relative.empty() && *relative.begin() != "..";
}

bool SafeRelativePath(std::string_view relative) {
    if (relative.empty() || relative.front() == '/') return false;
    if (relative.find_first_of(std::string_view("\\\0:", 3)) != std::string_view::npos) {
        return false;
    }
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find('/', start);
        if (end == std::string_view::npos) end = relative.size();
        const std::string_view part = relative.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

std::vector<std::string> ListDiscFiles(const std::filesystem::path& disc) {
    std::error_code error;
    const std::filesystem::path root = std::filesystem::canonical(disc, error);
    std::vector<std::string> files;
    if (error) return files;
    std::filesystem::recursive_directory_iterator walk(
        root, std::filesystem::directory_options::skip_permission_denied, error);
    for (; !error && walk != std::filesystem::recursive_directory_iterator();
         walk.increment(error)) {
        std::error_code fileError;
        if (!std::filesystem::is_regular_file(walk->path(), fileError)) continue;
        const std::filesystem::path target = std::filesystem::canonical(walk->path(), fileError);
        if (fileError || !Inside(root, target)) continue;
        const std::u8string name = walk->path().lexically_relative(root).generic_u8string();
        files.emplace_back(name.begin(), name.end());
    }
    std::sort(files.begin(), files.end());
    return files;
}

DiscFile FindDiscFile(const std::filesystem::path& disc, std::string_view relative) {
    if (!SafeRelativePath(relative)) return {DiscLookup::kRefused, {}};
    std::error_code error;
    const std::filesystem::path root = std::filesystem::canonical(disc, error);
    if (error) return {DiscLookup::kMissing, {}};
    const std::filesystem::path file = root / PathFromUtf8(relative);
    const std::filesystem::path target = std::filesystem::weakly_canonical(file, error);
    if (error) return {DiscLookup::kMissing, {}};
    if (!Inside(root, target)) return {DiscLookup::kRefused, {}};
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
