#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "pack/page/source_watch.h"
#include "pack/page/web_build.h"

namespace ambrevo::pack {

// What the server hands out at one moment. The program bytes are never changed once
// published: a new build replaces the pointer, so a request that holds one keeps it whole.
struct PackageSnapshot {
    std::uint64_t generation = 0;                // grows with each good build; 0: none yet
    std::shared_ptr<const std::string> program;  // null until the first good build
    std::optional<std::string> error;            // the last build's first problem
};

// The package served while its sources are edited: built from one source, rebuilt when
// the files it read change, the last good one kept while the sources have a problem.
class LivePackage {
public:
    // pictures: a cache shared with others (the designer's session); null for its own.
    explicit LivePackage(std::filesystem::path source,
                         std::shared_ptr<PictureCache> pictures = nullptr);

    // Builds now; true when the build was good.
    bool Build();
    // Checks the files the last build read, and builds again once changes have settled.
    // Returns true when it built.
    bool Poll();

    PackageSnapshot Current() const;

private:
    std::filesystem::path source_;
    std::vector<std::filesystem::path> filesRead_;
    ChangeWatch watch_;
    BuildCaches caches_;  // used by one build at a time: Build runs on the serving thread
    mutable std::mutex mutex_;
    PackageSnapshot current_;
};

}  // namespace ambrevo::pack
