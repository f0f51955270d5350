#pragma once

#include <cstdint>
#include <optional>

#include "package/package_stream.h"

namespace ambrevo {

// The parts of a Windows program's PE header that the player and the authoring tool
// look at, with the file offsets of the headers they sit in.
struct PeHeader {
    std::int64_t fileHeader = 0;      // just after "PE\0\0"
    std::int64_t optionalHeader = 0;  // just after the file header
    std::uint16_t machine = 0;
    std::uint16_t optionalHeaderSize = 0;
    std::uint16_t optionalMagic = 0;  // 0x10B for PE32, 0x20B for PE32+
};

// Reads the PE header at the start of the stream: the "MZ" header's pointer to
// "PE\0\0", the file header and the optional header's magic. Nothing when the bytes are
// no such header or it is cut short. Moves the stream.
std::optional<PeHeader> ReadPeHeader(PackageStream& stream);

// A little-endian number of byteCount (at most 4) bytes at position, or nothing where
// the stream does not hold them. Moves the stream.
std::optional<std::uint32_t> LittleEndianAt(PackageStream& stream, std::int64_t position,
                                            int byteCount);

}  // namespace ambrevo
