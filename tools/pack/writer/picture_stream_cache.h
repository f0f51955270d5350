#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "support/content_digest.h"
#include "graphics/bitmap.h"

namespace ambrevo::pack {

// The compressed streams of pictures, kept from one build to the next while sources are
// edited (serve, edit): a rebuild after a moved item or a new caption compresses only the
// pictures whose pixels changed, which is most of a large menu's build time. Streams that
// the last finished build did not use are dropped, so it holds one build's streams.
class PictureStreamCache {
public:
    using Compress = std::function<std::vector<std::uint8_t>()>;

    // The stream of a picture: the one kept for the same pixels, else compress(), kept
    // from now on. The pixels are told apart as they are in memory, so nothing is copied
    // for a picture seen before.
    const std::vector<std::uint8_t>& Stream(const Bitmap& picture, const Compress& compress);
    // A build has finished: the streams it did not ask for are dropped.
    void BuildFinished();

    std::size_t Size() const { return streams_.size(); }

private:
    struct Kept {
        std::vector<std::uint8_t> stream;
        bool used = false;
    };
    std::map<ContentDigest, Kept> streams_;
};

}  // namespace ambrevo::pack
