#include "menu/zlib_block_inflater.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

#include "menu/picture_messages.h"
#include "support/app_error.h"

namespace ambrevo {

namespace {
constexpr std::size_t kExcessChunk = 16 * 1024;  // output beyond the picture, dropped
}  // namespace

// The zlib state and the excess buffer, reset (not rebuilt) for each later block.
struct ZlibBlockInflater::State {
    std::vector<unsigned char> excess = std::vector<unsigned char>(kExcessChunk);
    z_stream zs{};

    State() {
        if (inflateInit(&zs) != Z_OK) throw AppError(kDamagedPictureMessage);
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() { inflateEnd(&zs); }
};

ZlibBlockInflater::ZlibBlockInflater() = default;
ZlibBlockInflater::~ZlibBlockInflater() = default;

void ZlibBlockInflater::Inflate(std::span<unsigned char> input, std::size_t loaded,
                                PackageStream* stream, std::int64_t unread, std::uint32_t rawSize,
                                unsigned char* out, std::size_t capacity) {
    if (state_) {
        inflateReset(&state_->zs);
    } else {
        state_ = std::make_unique<State>();
    }
    z_stream& zs = state_->zs;
    std::vector<unsigned char>& excess = state_->excess;

    const auto direct = static_cast<uInt>(std::min<std::uint64_t>(rawSize, capacity));
    std::uint64_t excessLeft = rawSize - direct;
    std::int64_t inputLeft = unread;
    zs.next_in = input.data();
    zs.avail_in = static_cast<uInt>(loaded);
    zs.next_out = direct > 0 ? out : excess.data();
    zs.avail_out = direct;

    // Each pass either refills a buffer or lets zlib make progress, and both the input
    // and the output are bounded, so the loop ends. Once rawSize bytes are out, zlib
    // still runs with no room for output, which checks the Adler-32 of a stream that
    // ends there; a stream with more output than rawSize stops with Z_BUF_ERROR.
    for (;;) {
        if (zs.avail_in == 0 && inputLeft > 0) {
            const auto n = static_cast<std::size_t>(
                std::min<std::int64_t>(inputLeft, static_cast<std::int64_t>(input.size())));
            if (!stream->Read(input.data(), n)) throw AppError(kShortPictureMessage);
            inputLeft -= static_cast<std::int64_t>(n);
            zs.next_in = input.data();
            zs.avail_in = static_cast<uInt>(n);
        }
        if (zs.avail_out == 0 && excessLeft > 0) {
            const auto n = std::min<std::uint64_t>(excessLeft, excess.size());
            excessLeft -= n;
            zs.next_out = excess.data();
            zs.avail_out = static_cast<uInt>(n);
        }
        const int status = inflate(&zs, Z_NO_FLUSH);
        if (status == Z_STREAM_END || status == Z_BUF_ERROR) break;
        if (status != Z_OK) throw AppError(kDamagedPictureMessage);
    }
    if (zs.total_out < rawSize) throw AppError(kShortPictureMessage);
    if (inputLeft > 0) stream->Skip(inputLeft);  // after the end of the zlib stream
}

}  // namespace ambrevo
