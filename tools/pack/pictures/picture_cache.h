#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/pictures/png_codec.h"

namespace ambrevo::pack {

// Loads the PNG pictures of sources, each file once however often menus use it. Kept from
// one read of the sources to the next (serve, edit), it decodes again only what changed.
// The designer's session and the live build share one from their own threads.
class PictureCache {
public:
    // The picture, or why it cannot be used: "not found" or "cannot be used: <reason>".
    using Result = std::variant<std::shared_ptr<const PngPicture>, std::string>;
    Result Load(const std::filesystem::path& path);
    // Every file asked for, found or not.
    std::vector<std::filesystem::path> Files() const;
    // Drops the files that were written, made or removed since they were loaded.
    void ForgetChanged();

private:
    struct Loaded {
        FileStamp stamp;  // taken before reading, so a write during the read is seen later
        Result result;
    };
    mutable std::mutex mutex_;
    std::map<std::filesystem::path, Loaded> loaded_;
};

}  // namespace ambrevo::pack
