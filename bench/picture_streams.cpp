#include "picture_streams.h"

#include <libdeflate.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

namespace ambrevo::bench {
namespace {

constexpr unsigned char kPictureTag = 5;
constexpr std::size_t kHeaderBytes = 24;  // tag to raw size; the stream follows
constexpr std::int64_t kMaxSide = 16384;

std::int64_t Int32At(std::span<const unsigned char> bytes, std::size_t at) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[at]) |
                                     static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
                                     static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
                                     static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
using Decompressor = std::unique_ptr<libdeflate_decompressor, DecompressorDeleter>;

// One thread's decoder and the buffer its pictures are inflated into.
class StreamInflater {
public:
    StreamInflater() : decompressor_(libdeflate_alloc_decompressor()) {}

    // True when the stream inflates to exactly its raw size and ends at its last byte.
    bool Inflate(std::span<const unsigned char> bytes, const PictureStream& stream) {
        if (!decompressor_) return false;
        if (out_.size() < stream.rawSize) out_.resize(stream.rawSize);
        std::size_t in = 0;
        std::size_t out = 0;
        return libdeflate_zlib_decompress_ex(decompressor_.get(), bytes.data() + stream.offset,
                                             stream.length, out_.data(), stream.rawSize, &in,
                                             &out) == LIBDEFLATE_SUCCESS &&
               in == stream.length && out == stream.rawSize;
    }

private:
    Decompressor decompressor_;
    std::vector<unsigned char> out_;
};

// The stream of a picture record whose header starts at `at`, when the header is one;
// its length is 0 otherwise. Only the header is checked here.
PictureStream HeaderAt(std::span<const unsigned char> bytes, std::size_t at) {
    if (bytes[at] != kPictureTag || bytes[at + 1] != 0) return {};
    const std::int64_t frame = Int32At(bytes, at + 4);
    const std::int64_t width = Int32At(bytes, at + 8);
    const std::int64_t height = Int32At(bytes, at + 12);
    const std::int64_t block = Int32At(bytes, at + 16);
    const std::int64_t raw = Int32At(bytes, at + 20);
    const std::size_t start = at + kHeaderBytes;
    if (frame < 0 || width < 1 || width > kMaxSide || height < 1 || height > kMaxSide ||
        raw != width * height * 4 || block < 6 ||
        static_cast<std::size_t>(block - 4) > bytes.size() - start) {
        return {};
    }
    const unsigned method = bytes[start];  // a zlib header: deflate, and its check bits
    if ((method & 0x0F) != 8 || (method * 256 + bytes[start + 1]) % 31 != 0) return {};
    return {start, static_cast<std::size_t>(block - 4), static_cast<std::uint32_t>(raw)};
}

}  // namespace

std::vector<PictureStream> FindPictureStreams(std::span<const unsigned char> bytes) {
    std::vector<PictureStream> found;
    StreamInflater check;
    std::size_t at = 0;
    while (bytes.size() >= kHeaderBytes && at <= bytes.size() - kHeaderBytes) {
        const PictureStream stream = HeaderAt(bytes, at);
        if (stream.length > 0 && check.Inflate(bytes, stream)) {
            found.push_back(stream);
            at = stream.offset + stream.length;
        } else {
            ++at;
        }
    }
    return found;
}

unsigned ProcessorCount() { return std::max(1u, std::thread::hardware_concurrency()); }

bool InflateOnThreads(std::span<const unsigned char> bytes, std::span<const PictureStream> streams,
                      unsigned threads) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    const auto work = [&] {
        StreamInflater inflater;
        for (std::size_t i = next++; i < streams.size(); i = next++) {
            if (!inflater.Inflate(bytes, streams[i])) failed = true;
        }
    };
    std::vector<std::jthread> helpers;  // no more threads than streams
    for (std::size_t n = 1; n < threads && n < streams.size(); ++n) helpers.emplace_back(work);
    work();
    helpers.clear();  // joins them
    return !failed;
}

}  // namespace ambrevo::bench
