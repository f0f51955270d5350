#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "pack/common/file_io.h"

namespace ambrevo::pack {

using SourceStamps = std::map<std::filesystem::path, FileStamp>;

SourceStamps StampFiles(const std::vector<std::filesystem::path>& files);

// Decides when sources that changed since the last build are worth building again: once
// two polls in a row see them the same, so that an editor's save in several writes is
// built once, whole.
class ChangeWatch {
public:
    // built: the files as the last build read them.
    void Built(SourceStamps built);
    const SourceStamps& BuiltStamps() const { return built_; }
    // now: the same files as this poll sees them. True when a build is due.
    bool Settled(const SourceStamps& now);

private:
    SourceStamps built_;
    std::optional<SourceStamps> previous_;
};

}  // namespace ambrevo::pack
