#include "pack/package/picture_stream_cache.h"

namespace ambrevo::pack {

const std::vector<std::uint8_t>& PictureStreamCache::Stream(std::span<const std::uint8_t> pixels,
                                                            const Compress& compress) {
    const ContentDigest digest = DigestOf(pixels);
    auto found = streams_.find(digest);
    if (found == streams_.end()) found = streams_.emplace(digest, Kept{compress(pixels)}).first;
    found->second.used = true;
    return found->second.stream;
}

void PictureStreamCache::BuildFinished() {
    std::erase_if(streams_, [](const auto& entry) { return !entry.second.used; });
    for (auto& [digest, kept] : streams_) kept.used = false;
}

}  // namespace ambrevo::pack
