#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ambrevo::bench {

// Where one compressed picture's zlib stream lies in a file, and the pixel bytes it gives.
struct PictureStream {
    std::size_t offset = 0;
    std::size_t length = 0;
    std::uint32_t rawSize = 0;

    bool operator==(const PictureStream&) const = default;
};

// The zlib streams of every compressed picture record in `bytes` (a program with its
// package, a package alone, a menu body), in file order. A record is known by its header
// (tag 5, a spare 0, record, set, a frame of 0 or more, width and height of 1 to 16384,
// the block length, a raw size of width x height x 4) and taken only when its stream
// inflates to exactly that raw size and ends where its block ends, so that bytes which
// merely look like a header are passed over.
std::vector<PictureStream> FindPictureStreams(std::span<const unsigned char> bytes);

// The threads a floor decodes on: one per processor, at least one.
unsigned ProcessorCount();

// Inflates every stream once with libdeflate, shared among `threads` threads (the caller
// being one) that each take the next stream not yet taken, each with its own decoder and
// output buffer. False when a stream does not give exactly its raw size.
bool InflateOnThreads(std::span<const unsigned char> bytes, std::span<const PictureStream> streams,
                      unsigned threads);

}  // namespace ambrevo::bench
