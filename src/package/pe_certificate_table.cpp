#include "package/pe_certificate_table.h"

#include "package/pe_header.h"

namespace ambrevo {
namespace {

constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::int64_t kPe32Directories = 96;  // offsets within the optional header
constexpr std::int64_t kPe32PlusDirectories = 112;
constexpr std::int64_t kDirectorySize = 8;
constexpr std::uint32_t kSecurityDirectory = 4;

}  // namespace

std::optional<CertificateTable> ReadCertificateTable(PackageStream& stream) {
    const std::optional<PeHeader> header = ReadPeHeader(stream);
    if (!header) return std::nullopt;
    std::int64_t directories = 0;
    if (header->optionalMagic == kPe32Magic) {
        directories = kPe32Directories;
    } else if (header->optionalMagic == kPe32PlusMagic) {
        directories = kPe32PlusDirectories;
    } else {
        return std::nullopt;
    }
    // The directory count comes right before the directories.
    const std::optional<std::uint32_t> directoryCount =
        LittleEndianAt(stream, header->optionalHeader + directories - 4, 4);
    const std::int64_t security = directories + kSecurityDirectory * kDirectorySize;
    if (!directoryCount || *directoryCount <= kSecurityDirectory ||
        header->optionalHeaderSize < security + kDirectorySize) {
        return std::nullopt;
    }

    const std::int64_t entry = header->optionalHeader + security;
    const std::optional<std::uint32_t> offset = LittleEndianAt(stream, entry, 4);
    const std::optional<std::uint32_t> size = LittleEndianAt(stream, entry + 4, 4);
    if (!offset || !size || *offset == 0 || *size == 0) return std::nullopt;
    const CertificateTable table{*offset, *size, entry};
    if (table.offset + table.size > stream.Size()) return std::nullopt;
    return table;
}

}  // namespace ambrevo
