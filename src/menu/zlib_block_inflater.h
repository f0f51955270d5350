#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "package/package_stream.h"

namespace ambrevo {

// zlib's incremental inflate over the zlib stream of one compressed picture block. It
// serves blocks of any size with fixed buffers, and its outcome for a damaged stream is
// what every compressed picture gives. Keeps its zlib state from block to block.
class ZlibBlockInflater {
public:
    ZlibBlockInflater();
    ~ZlibBlockInflater();
    ZlibBlockInflater(const ZlibBlockInflater&) = delete;
    ZlibBlockInflater& operator=(const ZlibBlockInflater&) = delete;

    // Inflates the zlib stream made of input[0, loaded) followed by the next `unread`
    // bytes of stream (which the caller has checked are there; they are read through
    // input, which must not be empty then; stream may be null when unread is 0) and takes
    // exactly rawSize bytes of output: the first `capacity` of them into out, the rest
    // checked and dropped. Consumes all unread bytes. Throws AppError(kShortPictureMessage)
    // when the zlib stream ends before rawSize bytes, AppError(kDamagedPictureMessage)
    // when it is damaged.
    void Inflate(std::span<unsigned char> input, std::size_t loaded, PackageStream* stream,
                 std::int64_t unread, std::uint32_t rawSize, unsigned char* out,
                 std::size_t capacity);

private:
    struct State;

    std::unique_ptr<State> state_;  // made at the first block
};

}  // namespace ambrevo
