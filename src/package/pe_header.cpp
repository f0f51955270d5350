#include "package/pe_header.h"

namespace ambrevo {
namespace {

constexpr std::uint16_t kDosMagic = 0x5A4D;         // "MZ"
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::int64_t kPeOffsetPosition = 0x3C;
constexpr std::int64_t kFileHeaderSize = 20;
constexpr std::int64_t kOptionalHeaderSizePosition = 16;  // within the file header

}  // namespace

std::optional<std::uint32_t> LittleEndianAt(PackageStream& stream, std::int64_t position,
                                            int byteCount) {
    unsigned char bytes[4] = {};
    if (!stream.Seek(position) || !stream.Read(bytes, static_cast<std::size_t>(byteCount))) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (int i = byteCount - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

std::optional<PeHeader> ReadPeHeader(PackageStream& stream) {
    if (LittleEndianAt(stream, 0, 2) != kDosMagic) return std::nullopt;
    const std::optional<std::uint32_t> peOffset = LittleEndianAt(stream, kPeOffsetPosition, 4);
    if (!peOffset || LittleEndianAt(stream, *peOffset, 4) != kPeSignature) return std::nullopt;
    // 64-bit positions: no offset read from the file can overflow them.
    PeHeader header;
    header.fileHeader = std::int64_t{*peOffset} + 4;
    header.optionalHeader = header.fileHeader + kFileHeaderSize;
    const std::optional<std::uint32_t> machine = LittleEndianAt(stream, header.fileHeader, 2);
    const std::optional<std::uint32_t> optionalSize =
        LittleEndianAt(stream, header.fileHeader + kOptionalHeaderSizePosition, 2);
    const std::optional<std::uint32_t> magic = LittleEndianAt(stream, header.optionalHeader, 2);
    if (!machine || !optionalSize || !magic) return std::nullopt;
    header.machine = static_cast<std::uint16_t>(*machine);
    header.optionalHeaderSize = static_cast<std::uint16_t>(*optionalSize);
    header.optionalMagic = static_cast<std::uint16_t>(*magic);
    return header;
}

}  // namespace ambrevo
