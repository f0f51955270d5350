#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "menu/zlib_block_inflater.h"
#include "package/package_stream.h"

struct libdeflate_decompressor;

namespace ambrevo {

// The largest zlib stream that is decoded in one piece; larger ones go through zlib's
// incremental inflate a buffer at a time.
constexpr std::size_t kWholeStreamLimit = 128 * 1024;

// Inflates the zlib stream of a compressed picture block. A stream read whole (at most
// kWholeStreamLimit from the package) and to fill the picture's storage exactly is decoded in one
// call of libdeflate, several times faster than zlib; any other stream, and any that libdeflate
// does not decode to exactly its raw size, goes through zlib, so every damaged stream
// gives what zlib makes of it. Keeps its buffers and decoder state from block to block.
class PictureInflater {
public:
    PictureInflater();
    ~PictureInflater();
    PictureInflater(const PictureInflater&) = delete;
    PictureInflater& operator=(const PictureInflater&) = delete;

    // Inflates the zlib stream in the next compressedSize bytes of stream (which the
    // caller has checked are there) and takes exactly rawSize bytes of output: the first
    // `capacity` of them into out (which may be null when capacity is 0), the rest
    // checked and dropped; out beyond rawSize is set to 0. Consumes the whole
    // compressedSize bytes unless it throws; throws as ZlibBlockInflater::Inflate does.
    void Inflate(PackageStream& stream, std::int64_t compressedSize, std::uint32_t rawSize,
                 unsigned char* out, std::size_t capacity);
    // The same for a zlib stream that lies whole in memory.
    void InflateLoaded(std::span<const unsigned char> zlibStream, std::uint32_t rawSize,
                       unsigned char* out, std::size_t capacity);

private:
    // True when libdeflate decoded the whole zlib stream to exactly rawSize bytes in out.
    bool DecodeWhole(std::span<const unsigned char> zlibStream, std::uint32_t rawSize,
                     unsigned char* out);

    std::vector<unsigned char> input_;  // a whole stream, or zlib's input a part at a time
    libdeflate_decompressor* decompressor_ = nullptr;
    ZlibBlockInflater zlib_;
};

}  // namespace ambrevo
