#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ambrevo::pack {

// A path as it lies on disk: absolute, with links (junctions on Windows too), short names,
// "." and ".." resolved as far as it exists. Throws PackError when that cannot be worked out, so
// that a check of the path fails closed.
std::filesystem::path ResolvedPath(const std::filesystem::path& path);

// The folder that `web` writes the page into. The page is written into a temporary folder
// beside it and put in its place only when whole, so that a failure leaves an earlier
// export as it was; and only a new or empty folder, or one an earlier export marked as
// its own, is ever replaced.
class StagedSite {
public:
    // Left in the folder by each export: a heading line, then the files it wrote.
    static constexpr std::string_view kMarkerName = ".ambrevo-web";
    static constexpr std::string_view kMarkerHeading =
        "Written by \"ambrevo-pack web\"; the next export into this folder replaces these files:";

    // Refuses, with PackError, a folder that is not new, not empty and not an earlier
    // export's, or that holds a file the earlier export did not write; then makes the
    // temporary folder.
    explicit StagedSite(const std::filesystem::path& folder);
    // Removes the temporary folder unless Commit ran.
    ~StagedSite();
    StagedSite(const StagedSite&) = delete;
    StagedSite& operator=(const StagedSite&) = delete;

    // Where the page's file relative ("disc/docs/guide.txt") is to be written; makes its
    // folder.
    std::filesystem::path Place(std::string_view relative);
    // Leaves the marker and puts the page in place of the folder.
    void Commit();

private:
    std::filesystem::path given_;    // as named, for messages
    std::filesystem::path target_;   // resolved
    std::filesystem::path staging_;  // the temporary folder beside it
    std::vector<std::string> written_;
    bool committed_ = false;
};

}  // namespace ambrevo::pack
