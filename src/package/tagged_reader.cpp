#include "package/tagged_reader.h"

namespace ambrevo {

bool TaggedReader::RawBytes(void* buffer, std::size_t count) {
    if (stream_.Read(buffer, count)) return true;
    loadError_.Set();
    return false;
}

std::uint8_t TaggedReader::RawByte() {
    unsigned char byte = 0;
    RawBytes(&byte, 1);
    return byte;
}

std::int16_t TaggedReader::RawInt16() {
    unsigned char b[2] = {};
    if (!RawBytes(b, sizeof b)) return 0;
    return static_cast<std::int16_t>(b[0] | (b[1] << 8));
}

std::int32_t TaggedReader::RawInt32() {
    unsigned char b[4] = {};
    if (!RawBytes(b, sizeof b)) return 0;
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
        (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
}

bool TaggedReader::ExpectTag(ValueTag tag) {
    unsigned char byte = 0;
    if (!RawBytes(&byte, 1)) return false;
    if (byte == static_cast<unsigned char>(tag)) return true;
    loadError_.Set();
    return false;
}

std::uint8_t TaggedReader::ReadByte() {
    if (!ExpectTag(ValueTag::Byte)) return 0;
    RawInt32();  // size field, not interpreted
    return RawByte();
}

std::int32_t TaggedReader::ReadInteger() {
    if (!ExpectTag(ValueTag::Integer)) return 0;
    RawInt32();  // size field says 2, the payload is four bytes anyway
    return RawInt32();
}

std::int32_t TaggedReader::ReadLong() {
    if (!ExpectTag(ValueTag::Long)) return 0;
    RawInt32();
    return RawInt32();
}

std::string TaggedReader::ReadString() {
    if (!ExpectTag(ValueTag::String)) return {};
    const std::int32_t length = RawInt32();
    if (length <= 0) return {};
    // A length beyond the end of the stream is a failed read: nothing is allocated
    // for bytes that are not there.
    if (length > stream_.Remaining()) {
        stream_.Skip(stream_.Remaining());
        loadError_.Set();
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    RawBytes(text.data(), text.size());
    return text;
}

}  // namespace ambrevo
