#include "pack/pictures/picture_cache.h"

#include <system_error>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/pictures/png_structure.h"

namespace ambrevo::pack {

PictureCache::Result PictureCache::Load(const std::filesystem::path& path) {
    const std::filesystem::path key = path.lexically_normal();
    const std::lock_guard lock(mutex_);
    if (const auto found = loaded_.find(key); found != loaded_.end()) return found->second.result;

    const FileStamp stamp = StampOf(key);
    Result result;
    std::error_code error;
    if (!std::filesystem::is_regular_file(key, error)) {
        result = std::string("not found");
    } else {
        try {
            const std::vector<std::uint8_t> bytes = ReadFileBytes(key);
            try {
                result = std::make_shared<const PngPicture>(DecodePng(bytes));
            } catch (const PackError& failure) {
                // The layout says more than the decoder, which may give no reason at all.
                const std::optional<std::string> fault = PngStructureFault(bytes, kMaxPngSide);
                result = "cannot be used: " + fault.value_or(failure.what());
            }
        } catch (const PackError& failure) {
            result = "cannot be used: " + std::string(failure.what());
        }
    }
    return loaded_.emplace(key, Loaded{stamp, std::move(result)}).first->second.result;
}

void PictureCache::ForgetChanged() {
    const std::lock_guard lock(mutex_);
    std::erase_if(loaded_, [](const auto& entry) { return StampOf(entry.first) != entry.second.stamp; });
}

std::vector<std::filesystem::path> PictureCache::Files() const {
    const std::lock_guard lock(mutex_);
    std::vector<std::filesystem::path> files;
    for (const auto& [path, result] : loaded_) files.push_back(path);
    return files;
}

}  // namespace ambrevo::pack
