#include "package/pe_certificate_table.h"

namespace ambrevo {
namespace {

constexpr std::uint16_t kDosMagic = 0x5A4D;         // "MZ"
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::int64_t kPeOffsetPosition = 0x3C;
constexpr std::int64_t kFileHeaderSize = 20;
constexpr std::int64_t kOptionalHeaderSizePosition = 16;  // within the file header
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::int64_t kPe32Directories = 96;  // offsets within the optional header
constexpr std::int64_t kPe32PlusDirectories = 112;
constexpr std::int64_t kDirectorySize = 8;
constexpr std::uint32_t kSecurityDirectory = 4;

// A little-endian number of byteCount bytes at position, or nothing outside the stream.
std::optional<std::uint32_t> NumberAt(PackageStream& stream, std::int64_t position, int byteCount) {
    unsigned char bytes[4] = {};
    if (!stream.Seek(position) || !stream.Read(bytes, static_cast<std::size_t>(byteCount))) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (int i = byteCount - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

std::optional<CertificateTable> ReadCertificateTable(PackageStream& stream) {
    if (NumberAt(stream, 0, 2) != kDosMagic) return std::nullopt;
    const std::optional<std::uint32_t> peOffset = NumberAt(stream, kPeOffsetPosition, 4);
    if (!peOffset) return std::nullopt;
    // 64-bit positions: no offset read from the file can overflow them.
    const std::int64_t fileHeader = std::int64_t{*peOffset} + 4;
    if (NumberAt(stream, *peOffset, 4) != kPeSignature) return std::nullopt;

    const std::optional<std::uint32_t> optionalSize =
        NumberAt(stream, fileHeader + kOptionalHeaderSizePosition, 2);
    const std::int64_t optionalHeader = fileHeader + kFileHeaderSize;
    const std::optional<std::uint32_t> magic = NumberAt(stream, optionalHeader, 2);
    if (!optionalSize || !magic) return std::nullopt;
    std::int64_t directories = 0;
    if (*magic == kPe32Magic) {
        directories = kPe32Directories;
    } else if (*magic == kPe32PlusMagic) {
        directories = kPe32PlusDirectories;
    } else {
        return std::nullopt;
    }
    // The directory count comes right before the directories.
    const std::optional<std::uint32_t> directoryCount =
        NumberAt(stream, optionalHeader + directories - 4, 4);
    const std::int64_t security = directories + kSecurityDirectory * kDirectorySize;
    if (!directoryCount || *directoryCount <= kSecurityDirectory ||
        *optionalSize < security + kDirectorySize) {
        return std::nullopt;
    }

    const std::int64_t entry = optionalHeader + security;
    const std::optional<std::uint32_t> offset = NumberAt(stream, entry, 4);
    const std::optional<std::uint32_t> size = NumberAt(stream, entry + 4, 4);
    if (!offset || !size || *offset == 0 || *size == 0) return std::nullopt;
    const CertificateTable table{*offset, *size, entry};
    if (table.offset + table.size > stream.Size()) return std::nullopt;
    return table;
}

}  // namespace ambrevo
