#include "pack/editor/picture_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/common/file_names.h"
#include "pack/common/real_path.h"

namespace ambrevo::pack {
namespace {

// Entries looked at before the walk gives up, so that a huge tree cannot hold the page up.
constexpr std::size_t kMaxEntries = 100000;

bool IsPngName(const std::filesystem::path& path) {
    std::string extension = PathToUtf8(path.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".png";
}

// Width and height from the PNG signature and IHDR chunk that open every PNG file.
std::optional<std::pair<std::uint32_t, std::uint32_t>> PngSize(const std::filesystem::path& file) {
    static constexpr std::array<std::uint8_t, 16> kStart = {
        0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    std::array<std::uint8_t, 24> head{};
    std::ifstream in(file, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(head.data()), head.size())) return std::nullopt;
    if (!std::equal(kStart.begin(), kStart.end(), head.begin())) return std::nullopt;
    const auto word = [&head](std::size_t at) {
        return std::uint32_t{head[at]} << 24 | std::uint32_t{head[at + 1]} << 16 |
               std::uint32_t{head[at + 2]} << 8 | std::uint32_t{head[at + 3]};
    };
    return std::pair{word(16), word(20)};
}

}  // namespace

nlohmann::json PictureFiles(const std::filesystem::path& folder, std::size_t limit) {
    std::vector<std::pair<std::string, nlohmann::json>> found;
    bool more = false;
    std::error_code error;
    std::filesystem::recursive_directory_iterator walk(
        folder, std::filesystem::directory_options::skip_permission_denied, error);
    std::size_t seen = 0;
    for (; !error && walk != std::filesystem::recursive_directory_iterator();
         walk.increment(error)) {
        if (++seen > kMaxEntries) {
            more = true;
            break;
        }
        const std::filesystem::directory_entry& entry = *walk;
        const std::filesystem::path name = entry.path().filename();
        // A link is neither listed nor entered; on Windows the walk itself would enter a
        // junction.
        const bool offered =
            CheckPublishedName(PathToUtf8(name)).verdict == NameVerdict::kPublished &&
            !IsLink(entry.path());
        if (entry.is_directory(error)) {
            if (!offered) walk.disable_recursion_pending();
            continue;
        }
        if (!offered || !entry.is_regular_file(error) || !IsPngName(name)) continue;
        const auto size = PngSize(entry.path());
        if (!size) continue;
        if (found.size() == limit) {
            more = true;
            break;
        }
        // UTF-8 with "/" on every system.
        const std::u8string relative = entry.path().lexically_relative(folder).generic_u8string();
        found.emplace_back(std::string(relative.begin(), relative.end()),
                           nlohmann::json{size->first, size->second});
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    nlohmann::json pictures = nlohmann::json::array();
    for (auto& [file, size] : found) pictures.push_back({{"file", file}, {"size", size}});
    return {{"pictures", pictures}, {"more", more}};
}

}  // namespace ambrevo::pack
