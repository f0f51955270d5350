#pragma once

#include <filesystem>
#include <vector>

namespace ambrevo::pack {

// The disc folders the designer opened last, most recent first, kept in a small JSON file
// (a list of UTF-8 paths) in the tool's config folder.
class RecentDiscs {
public:
    static constexpr std::size_t kKept = 10;

    explicit RecentDiscs(std::filesystem::path file) : file_(std::move(file)) {}

    // The folders listed that still exist. A file that is missing or cannot be read as
    // such a list gives none: it is only a convenience.
    std::vector<std::filesystem::path> Folders() const;
    // Puts the folder first, once, keeping at most kKept. Throws PackError when the file
    // cannot be written.
    void Add(const std::filesystem::path& folder) const;

private:
    std::filesystem::path file_;
};

}  // namespace ambrevo::pack
