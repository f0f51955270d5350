#include "picture_cache.h"

#include <system_error>

#include "file_io.h"
#include "pack_error.h"

namespace ambrevo::pack {

PictureCache::Result PictureCache::Load(const std::filesystem::path& path) {
    const std::filesystem::path key = path.lexically_normal();
    if (const auto found = loaded_.find(key); found != loaded_.end()) return found->second;

    Result result;
    std::error_code error;
    if (!std::filesystem::is_regular_file(key, error)) {
        result = std::string("not found");
    } else {
        try {
            result = std::make_shared<const PngPicture>(DecodePng(ReadFileBytes(key)));
        } catch (const PackError& failure) {
            result = "cannot be used: " + std::string(failure.what());
        }
    }
    return loaded_.emplace(key, std::move(result)).first->second;
}

}  // namespace ambrevo::pack
