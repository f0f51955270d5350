#include "menu/picture_inflater.h"

#include <libdeflate.h>

#include <cstring>

#include "menu/picture_messages.h"
#include "support/app_error.h"

namespace ambrevo {
namespace {

// A picture's storage is not zeroed when made: what a stream of fewer bytes than the
// picture leaves unwritten is set to 0 here.
void ClearBeyond(std::uint32_t rawSize, unsigned char* out, std::size_t capacity) {
    if (out != nullptr && rawSize < capacity) std::memset(out + rawSize, 0, capacity - rawSize);
}

}  // namespace

PictureInflater::PictureInflater() = default;

PictureInflater::~PictureInflater() {
    if (decompressor_) libdeflate_free_decompressor(decompressor_);
}

void PictureInflater::Inflate(PackageStream& stream, std::int64_t compressedSize,
                              std::uint32_t rawSize, unsigned char* out, std::size_t capacity) {
    if (input_.empty()) input_.resize(kWholeStreamLimit);
    if (out == nullptr || rawSize > capacity ||
        compressedSize > static_cast<std::int64_t>(input_.size())) {
        zlib_.Inflate(input_, 0, &stream, compressedSize, rawSize, out, capacity);
        ClearBeyond(rawSize, out, capacity);
        return;
    }
    const auto size = static_cast<std::size_t>(compressedSize);
    if (!stream.Read(input_.data(), size)) throw AppError(kShortPictureMessage);
    InflateLoaded(std::span(input_).first(size), rawSize, out, capacity);
}

void PictureInflater::InflateLoaded(std::span<const unsigned char> zlibStream,
                                    std::uint32_t rawSize, unsigned char* out,
                                    std::size_t capacity) {
    if (out == nullptr || rawSize > capacity || !DecodeWhole(zlibStream, rawSize, out)) {
        // Short, long, cut or damaged: zlib decides what the stream gives, from the same
        // bytes. It only reads them; its interface predates const.
        const std::span input(const_cast<unsigned char*>(zlibStream.data()), zlibStream.size());
        zlib_.Inflate(input, input.size(), nullptr, 0, rawSize, out, capacity);
    }
    ClearBeyond(rawSize, out, capacity);
}

bool PictureInflater::DecodeWhole(std::span<const unsigned char> zlibStream, std::uint32_t rawSize,
                                  unsigned char* out) {
    if (!decompressor_) decompressor_ = libdeflate_alloc_decompressor();
    if (!decompressor_) return false;  // zlib then reports what it can
    // With no place for the output length, anything but exactly rawSize bytes fails.
    return libdeflate_zlib_decompress(decompressor_, zlibStream.data(), zlibStream.size(), out,
                                      rawSize, nullptr) == LIBDEFLATE_SUCCESS;
}

}  // namespace ambrevo
