#include "pack/writer/tagged_writer.h"

#include <stdexcept>

namespace ambrevo::pack {

void TaggedWriter::WriteByte(std::uint8_t value) {
    RawByte(1);
    RawInt32(1);
    RawByte(value);
}

void TaggedWriter::WriteInteger(std::int32_t value) {
    RawByte(2);
    RawInt32(2);
    RawInt32(value);
}

void TaggedWriter::WriteLong(std::int32_t value) {
    RawByte(3);
    RawInt32(4);
    RawInt32(value);
}

void TaggedWriter::WriteString(std::string_view text) {
    if (text.size() > 0x7FFFFFFF) throw std::length_error("text too long for a tagged value");
    RawByte(4);
    RawInt32(static_cast<std::int32_t>(text.size()));
    RawBytes(text.data(), text.size());
}

void TaggedWriter::RawInt16(std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    bytes_.push_back(static_cast<std::uint8_t>(bits));
    bytes_.push_back(static_cast<std::uint8_t>(bits >> 8));
}

void TaggedWriter::RawInt32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes_.push_back(static_cast<std::uint8_t>(bits >> shift));
}

void TaggedWriter::RawBytes(const void* data, std::size_t count) {
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), first, first + count);
}

}  // namespace ambrevo::pack
