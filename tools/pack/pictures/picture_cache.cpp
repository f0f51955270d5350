#include "pack/pictures/picture_cache.h"

#include <system_error>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/pictures/png_structure.h"

namespace ambrevo::pack {

namespace {

std::size_t PixelBytesOf(const PictureCache::Result& result) {
    const auto* picture = std::get_if<std::shared_ptr<const PngPicture>>(&result);
    if (!picture) return 0;
    const std::size_t colours = (*picture)->bitmap ? (*picture)->bitmap->pixels.size() : 0;
    return colours * sizeof(std::uint32_t) + (*picture)->alpha.size();
}

}  // namespace

PictureCache::Result PictureCache::Load(const std::filesystem::path& path) {
    const std::filesystem::path key = path.lexically_normal();
    const std::lock_guard lock(mutex_);
    Loaded& entry = loaded_[key];
    entry.lastUse = ++uses_;
    if (entry.result) return *entry.result;

    entry.stamp = StampOf(key);
    const Result result = Decode(key);
    entry.result = result;
    entry.pixelBytes = PixelBytesOf(result);
    pixelBytes_ += entry.pixelBytes;
    DropLeastRecentlyUsed();
    return result;
}

PictureCache::Result PictureCache::Decode(const std::filesystem::path& path) const {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::string("not found");
    try {
        const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
        try {
            return std::make_shared<const PngPicture>(DecodePng(bytes));
        } catch (const PackError& failure) {
            // The layout says more than the decoder, which may give no reason at all.
            const std::optional<std::string> fault = PngStructureFault(bytes, kMaxPngSide);
            return "cannot be used: " + fault.value_or(failure.what());
        }
    } catch (const PackError& failure) {
        return "cannot be used: " + std::string(failure.what());
    }
}

// Users of a dropped picture keep it as long as they hold it; the file's record stays, so
// that Files() still lists it.
void PictureCache::DropLeastRecentlyUsed() {
    while (pixelBytes_ > maxPixelBytes_) {
        Loaded* oldest = nullptr;
        for (auto& [path, entry] : loaded_) {
            if (entry.pixelBytes > 0 && (!oldest || entry.lastUse < oldest->lastUse)) {
                oldest = &entry;
            }
        }
        pixelBytes_ -= oldest->pixelBytes;
        oldest->pixelBytes = 0;
        oldest->result.reset();
    }
}

void PictureCache::ForgetChanged() {
    const std::lock_guard lock(mutex_);
    std::erase_if(loaded_, [this](const auto& entry) {
        if (StampOf(entry.first) == entry.second.stamp) return false;
        pixelBytes_ -= entry.second.pixelBytes;
        return true;
    });
}

std::size_t PictureCache::PixelBytes() const {
    const std::lock_guard lock(mutex_);
    return pixelBytes_;
}

std::vector<std::filesystem::path> PictureCache::Files() const {
    const std::lock_guard lock(mutex_);
    std::vector<std::filesystem::path> files;
    for (const auto& [path, result] : loaded_) files.push_back(path);
    return files;
}

}  // namespace ambrevo::pack
