#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "package/load_error.h"
#include "package/package_stream.h"

namespace ambrevo {

// Type tags of the tagged value encoding.
enum class ValueTag : std::uint8_t { Byte = 1, Integer = 2, Long = 3, String = 4, Picture = 5 };

// Reads tagged values (tag byte, four-byte size field, payload) from a PackageStream.
// A wrong tag consumes only the tag byte; a value cut short by the end of the stream
// consumes the rest. Either failure sets the LoadError and returns the neutral value
// (0 or empty text). No reader ever throws or shows a message.
class TaggedReader {
public:
    TaggedReader(PackageStream& stream, LoadError& loadError)
        : stream_(stream), loadError_(loadError) {}

    std::uint8_t ReadByte();     // tag 1
    std::int32_t ReadInteger();  // tag 2
    std::int32_t ReadLong();     // tag 3
    std::string ReadString();    // tag 4

    // Untagged little-endian reads for raw header fields and picture records.
    // A short read sets the LoadError: numbers are then 0, and RawBytes zero-fills
    // what the stream did not supply.
    std::uint8_t RawByte();
    std::int16_t RawInt16();
    std::int32_t RawInt32();
    bool RawBytes(void* buffer, std::size_t count);

    // Reads the tag byte and checks it; sets the LoadError when it differs.
    bool ExpectTag(ValueTag tag);

    PackageStream& Stream() { return stream_; }
    LoadError& Errors() { return loadError_; }

private:
    PackageStream& stream_;
    LoadError& loadError_;
};

}  // namespace ambrevo
