#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/pictures/png_codec.h"

namespace ambrevo::pack {

// Loads the PNG pictures of sources, each file once however often menus use it. Kept from
// one read of the sources to the next (serve, edit), it decodes again only what changed,
// and what it dropped to keep its decoded pixels within a bound, the least recently used
// first. The designer's session and the live build share one from their own threads.
class PictureCache {
public:
    // The picture, or why it cannot be used: "not found" or "cannot be used: <reason>".
    using Result = std::variant<std::shared_ptr<const PngPicture>, std::string>;

    // 256 MiB of colours and alpha: four times the benchmark's rich menu (bench/heavy_menu.h:
    // a 640 x 480 background and 1,440 frames of 128 x 64, some 61 MB decoded at five bytes
    // a pixel), so a 30 MB menu is decoded once while it is edited.
    static constexpr std::size_t kDefaultPixelBytes = std::size_t{256} << 20;
    explicit PictureCache(std::size_t maxPixelBytes = kDefaultPixelBytes)
        : maxPixelBytes_(maxPixelBytes) {}

    Result Load(const std::filesystem::path& path);
    // Every file asked for, found or not, its picture kept or dropped.
    std::vector<std::filesystem::path> Files() const;
    // Drops the files that were written, made or removed since they were loaded.
    void ForgetChanged();
    // The bytes of decoded pixels held, at most the bound given.
    std::size_t PixelBytes() const;

private:
    struct Loaded {
        FileStamp stamp;  // taken before reading, so a write during the read is seen later
        std::optional<Result> result;  // none: dropped for the bound, decoded when asked for
        std::size_t pixelBytes = 0;
        std::uint64_t lastUse = 0;
    };
    Result Decode(const std::filesystem::path& path) const;
    void DropLeastRecentlyUsed();

    const std::size_t maxPixelBytes_;
    mutable std::mutex mutex_;
    std::map<std::filesystem::path, Loaded> loaded_;
    std::size_t pixelBytes_ = 0;
    std::uint64_t uses_ = 0;
};

}  // namespace ambrevo::pack
