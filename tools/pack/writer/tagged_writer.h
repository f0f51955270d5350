#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ambrevo::pack {

// Appends values in the tagged encoding the player reads: a tag byte, a four-byte
// size field and the payload, all little-endian.
class TaggedWriter {
public:
    void WriteByte(std::uint8_t value);     // 01 01000000 vv
    void WriteInteger(std::int32_t value);  // 02 02000000 vvvvvvvv
    void WriteLong(std::int32_t value);     // 03 04000000 vvvvvvvv
    void WriteBoolean(bool value) { WriteInteger(value ? -1 : 0); }
    void WriteString(std::string_view text);  // 04 nnnnnnnn text

    // Untagged little-endian values for raw headers and picture records.
    void RawByte(std::uint8_t value) { bytes_.push_back(value); }
    void RawInt16(std::int16_t value);
    void RawInt32(std::int32_t value);
    void RawBytes(const void* data, std::size_t count);

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace ambrevo::pack
