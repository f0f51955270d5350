#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pack/writer/picture_stream_cache.h"
#include "pack/pictures/picture_cache.h"

namespace ambrevo::pack {

// The bytes the browser player reads as its own program file stand before the package.
constexpr std::string_view kWebStub = "AMBREVO-WEB\n";

// A package built in memory for the browser player.
struct WebBuild {
    std::shared_ptr<const std::string> program;  // stub + package; null when the build failed
    std::string error;  // the first problem, as check reports it, when the build failed
    std::vector<std::filesystem::path> filesRead;  // sources and pictures, found or not
};

// What one build of sources keeps for the next: the decoded pictures and their compressed
// streams, so that a rebuild does again only what the changed files need.
struct BuildCaches {
    std::shared_ptr<PictureCache> pictures = std::make_shared<PictureCache>();
    PictureStreamCache streams;
};

// Builds a package.toml or menu TOML file, or takes a built program (a file of another
// extension) as it is, checking that it carries a readable package.
WebBuild BuildWebPackage(const std::filesystem::path& source, BuildCaches& caches);

// Where the files beside the menu lie: chosen when given, else disc/ beside the source
// when it exists, else nowhere: the source's own folder holds what a disc does not carry.
// Throws PackError when the chosen folder is no folder.
std::optional<std::filesystem::path> DiscFolderFor(
    const std::filesystem::path& source, const std::optional<std::filesystem::path>& chosen);

// The line that says a page has no disc files, naming where the disc folder was looked for.
std::string NoDiscFolderNote(const std::filesystem::path& source);

}  // namespace ambrevo::pack
