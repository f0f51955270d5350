#pragma once

#include <zlib.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/file_on_disc.h"
#include "package/memory_file.h"
#include "package/package_stream.h"
#include "package/tagged_reader.h"
#include "support/byte_builder.h"
#include "graphics/bitmap.h"

namespace ambrevo::testing {

// A TaggedReader over bytes in memory, with its LoadError.
// How a stream under test reaches its bytes: in place, or a copy at a time.
enum class FileKind { InMemory, OnDisc };

class StreamUnderTest {
public:
    explicit StreamUnderTest(const std::string& bytes, FileKind kind = FileKind::InMemory)
        : stream_(kind == FileKind::InMemory
                      ? std::unique_ptr<ReadOnlyFile>(std::make_unique<MemoryFile>(bytes))
                      : std::make_unique<FileOnDisc>(bytes)),
          reader_(stream_, error_) {}
    explicit StreamUnderTest(const std::vector<std::uint8_t>& bytes)
        : StreamUnderTest(std::string(bytes.begin(), bytes.end())) {}

    TaggedReader& Reader() { return reader_; }
    PackageStream& Stream() { return stream_; }
    LoadError& Error() { return error_; }
    std::int64_t Position() const { return stream_.Position(); }

private:
    LoadError error_;
    PackageStream stream_;
    TaggedReader reader_;
};

// count distinct 0x00RRGGBB values (a fourth byte of 0, as the authoring tool writes).
inline Pixels PixelPattern(std::size_t count, std::uint32_t seed = 1) {
    Pixels pixels(count);
    std::uint32_t x = seed;
    for (auto& p : pixels) {
        x = x * 1103515245u + 12345u;
        p = (x >> 8) & 0x00FFFFFFu;
    }
    return pixels;
}

// Pixel values as stored: four bytes each, little-endian (blue, green, red, 0).
inline std::string PixelBytes(const Pixels& pixels) {
    ByteBuilder bytes;
    for (std::uint32_t p : pixels) bytes.Le32(static_cast<std::int32_t>(p));
    return bytes.Str();
}

// A zlib stream (RFC 1950) of data at this compression level.
inline std::string Zlib(const std::string& data, int level = 9) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  level) != Z_OK) {
        throw std::runtime_error("compress2 failed");
    }
    out.resize(size);
    return out;
}

// Tag 5, spare byte, record, set, frame: the part common to both layouts.
inline ByteBuilder RecordStart(int record, int set, std::int32_t frame) {
    ByteBuilder bytes;
    bytes.Bytes({5, 0, record, set}).Le32(frame);
    return bytes;
}

// A version 6 record: header, width, height, then the raw pixel bytes given.
inline std::string RawRecord(int record, int set, std::int32_t frame, std::int32_t width,
                             std::int32_t height, const std::string& pixelBytes) {
    return RecordStart(record, set, frame).Le32(width).Le32(height).Text(pixelBytes).Str();
}

// A version 7 record with an explicit block length L and raw size U before the block.
inline std::string CompressedRecord(int record, int set, std::int32_t frame, std::int32_t width,
                                    std::int32_t height, std::int32_t blockLength,
                                    std::int32_t rawSize, const std::string& zlibStream) {
    return RecordStart(record, set, frame)
        .Le32(width)
        .Le32(height)
        .Le32(blockLength)
        .Le32(rawSize)
        .Text(zlibStream)
        .Str();
}

// A well-formed version 7 record of these pixels: U = 4 * pixels, L = 4 + stream length.
inline std::string CompressedRecord(int record, int set, std::int32_t frame, std::int32_t width,
                                    std::int32_t height, const Pixels& pixels, int level = 9) {
    const std::string raw = PixelBytes(pixels);
    const std::string stream = Zlib(raw, level);
    return CompressedRecord(record, set, frame, width, height,
                            static_cast<std::int32_t>(4 + stream.size()),
                            static_cast<std::int32_t>(raw.size()), stream);
}

// A picture record of this version for a w x h picture of the given pixels.
inline std::string Record(int version, int record, int set, std::int32_t frame, std::int32_t width,
                          std::int32_t height, const Pixels& pixels) {
    return version >= 7 ? CompressedRecord(record, set, frame, width, height, pixels)
                        : RawRecord(record, set, frame, width, height, PixelBytes(pixels));
}

}  // namespace ambrevo::testing
