#include "pack/writer/picture_stream_cache.h"

#include <span>

namespace ambrevo::pack {

const std::vector<std::uint8_t>& PictureStreamCache::Stream(const Bitmap& picture,
                                                            const Compress& compress) {
    const ContentDigest digest =
        DigestOf(std::span(reinterpret_cast<const std::uint8_t*>(picture.pixels.data()),
                           picture.pixels.size() * sizeof(std::uint32_t)));
    auto found = streams_.find(digest);
    if (found == streams_.end()) found = streams_.emplace(digest, Kept{compress()}).first;
    found->second.used = true;
    return found->second.stream;
}

void PictureStreamCache::BuildFinished() {
    std::erase_if(streams_, [](const auto& entry) { return !entry.second.used; });
    for (auto& [digest, kept] : streams_) kept.used = false;
}

}  // namespace ambrevo::pack
