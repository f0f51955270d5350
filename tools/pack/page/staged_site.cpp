#include "pack/page/staged_site.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <set>
#include <system_error>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/common/real_path.h"

namespace ambrevo::pack {
namespace {

std::filesystem::path ResolvedFolder(const std::filesystem::path& folder) {
    const std::filesystem::path resolved = ResolvedPath(folder);
    if (!resolved.has_filename()) {
        throw PackError("the output folder " + QuotedPath(folder) + " is no folder of its own");
    }
    return resolved;
}

// The files the marker of an earlier export lists; nullopt when the folder has no marker.
std::optional<std::set<std::string>> MarkedFiles(const std::filesystem::path& folder) {
    std::ifstream marker(folder / StagedSite::kMarkerName, std::ios::binary);
    std::string line;
    if (!std::getline(marker, line) || line != StagedSite::kMarkerHeading) return std::nullopt;
    std::set<std::string> files;
    while (std::getline(marker, line)) files.insert(line);
    return files;
}

// Whatever is in the folder must be the earlier export's own, or nothing at all.
void CheckReplaceable(const std::filesystem::path& given, const std::filesystem::path& target) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(target, error);
    if (status.type() == std::filesystem::file_type::not_found) return;
    if (error) {
        throw PackError("cannot check the output folder " + QuotedPath(given) + ": " +
                        error.message());
    }
    if (!std::filesystem::is_directory(status)) {
        throw PackError("the output folder " + QuotedPath(given) + " is a file; give a folder");
    }
    const std::optional<std::set<std::string>> marked = MarkedFiles(target);
    std::filesystem::recursive_directory_iterator walk(target, error);
    for (; !error && walk != std::filesystem::recursive_directory_iterator();
         walk.increment(error)) {
        std::error_code entryError;
        if (walk->symlink_status(entryError).type() == std::filesystem::file_type::directory) {
            continue;
        }
        const std::u8string relative = walk->path().lexically_relative(target).generic_u8string();
        const std::string name(relative.begin(), relative.end());
        if (name == StagedSite::kMarkerName) continue;
        if (!marked) {
            throw PackError("the output folder " + QuotedPath(given) +
                            " is not empty, and no earlier export wrote it; give a new or "
                            "empty folder");
        }
        if (!marked->contains(name)) {
            throw PackError("the output folder " + QuotedPath(given) + " holds \"" + name +
                            "\", which the earlier export did not write; move it out or give "
                            "another folder");
        }
    }
    if (error) {
        throw PackError("cannot check the output folder " + QuotedPath(given) + ": " +
                        error.message());
    }
}

// A name beside target that is free: ".<name><ending>", then with 2, 3, ... after it.
std::filesystem::path FreeSibling(const std::filesystem::path& target, std::string_view ending) {
    const std::string base = "." + PathToUtf8(target.filename()) + std::string(ending);
    for (int n = 1; n < 1000; ++n) {
        const std::filesystem::path candidate =
            target.parent_path() / PathFromUtf8(n == 1 ? base : base + std::to_string(n));
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, error))) {
            return candidate;
        }
    }
    throw PackError("cannot find a free name beside " + QuotedPath(target));
}

void MakeFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw PackError("cannot make the folder " + QuotedPath(folder) + ": " + error.message());
}

}  // namespace

std::filesystem::path ResolvedPath(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    std::filesystem::path resolved;
    if (!error) resolved = std::filesystem::weakly_canonical(absolute, error);
    if (error)
        throw PackError("cannot check the folder " + QuotedPath(path) + ": " + error.message());
    // "out/" is the folder "out".
    if (!resolved.has_filename() && resolved.has_relative_path()) resolved = resolved.parent_path();
    // The part that exists as the system resolves it: on Windows weakly_canonical leaves
    // junctions and short names as they are.
    std::filesystem::path rest;
    for (std::filesystem::path existing = resolved;; existing = existing.parent_path()) {
        if (const std::optional<std::filesystem::path> real = RealPath(existing)) {
            return rest.empty() ? *real : *real / rest;
        }
        if (existing == existing.parent_path()) return resolved;
        rest = rest.empty() ? existing.filename() : existing.filename() / rest;
    }
}

StagedSite::StagedSite(const std::filesystem::path& folder)
    : given_(folder), target_(ResolvedFolder(folder)) {
    CheckReplaceable(given_, target_);
    MakeFolder(target_.parent_path());
    staging_ = FreeSibling(target_, ".part");
    std::error_code error;
    if (!std::filesystem::create_directory(staging_, error)) {
        throw PackError("cannot make the folder " + QuotedPath(staging_) + ": " +
                        (error ? error.message() : "it is there already"));
    }
}

StagedSite::~StagedSite() {
    if (committed_) return;
    std::error_code ignored;
    std::filesystem::remove_all(staging_, ignored);
}

std::filesystem::path StagedSite::Place(std::string_view relative) {
    const std::filesystem::path file = staging_ / PathFromUtf8(relative);
    MakeFolder(file.parent_path());
    written_.emplace_back(relative);
    return file;
}

void StagedSite::Commit() {
    std::string marker = std::string(kMarkerHeading) + "\n";
    std::sort(written_.begin(), written_.end());
    for (const std::string& name : written_) marker += name + "\n";
    WriteTextFile(staging_ / kMarkerName, marker);

    std::error_code error;
    const bool replacing = std::filesystem::exists(target_, error);
    const std::filesystem::path earlier = replacing ? FreeSibling(target_, ".old") : "";
    if (replacing) std::filesystem::rename(target_, earlier, error);
    if (!error) std::filesystem::rename(staging_, target_, error);
    if (error) {
        std::error_code ignored;
        if (replacing && !std::filesystem::exists(target_, ignored)) {
            std::filesystem::rename(earlier, target_, ignored);
        }
        throw PackError("cannot put the page in place of " + QuotedPath(given_) + ": " +
                        error.message());
    }
    committed_ = true;
    // The earlier export is out of the way; a part of it that cannot be removed stays
    // hidden beside the page and harms nothing.
    if (replacing) std::filesystem::remove_all(earlier, error);
}

}  // namespace ambrevo::pack
