#pragma once

#include <cstdint>
#include <optional>

#include "package/package_stream.h"

namespace ambrevo {

// Where a signed program keeps its Authenticode certificates: the table that the PE
// header's security directory names, by file offset and byte count.
struct CertificateTable {
    std::int64_t offset = 0;
    std::int64_t size = 0;
    std::int64_t directoryEntry = 0;  // file offset of the header's 8 bytes naming the table
    bool operator==(const CertificateTable&) const = default;
};

// Reads the PE header at the start of the stream (ReadPeHeader, then the PE32 or PE32+
// optional header's directories) and gives its security directory. Nothing when the
// bytes are no such header, the header is cut short, the directory is empty, or the
// table it names does not lie within the file. Moves the stream.
std::optional<CertificateTable> ReadCertificateTable(PackageStream& stream);

}  // namespace ambrevo
