#include "pack/package/bare_player.h"

#include <algorithm>
#include <memory>
#include <string>

#include "package/memory_file.h"
#include "package/package_stream.h"
#include "package/pe_certificate_table.h"

namespace ambrevo::pack {

std::vector<std::uint8_t> BarePlayerBytes(std::span<const std::uint8_t> program,
                                          std::int64_t programSize) {
    const auto size = static_cast<std::size_t>(
        std::clamp<std::int64_t>(programSize, 0, static_cast<std::int64_t>(program.size())));
    std::vector<std::uint8_t> bare(program.begin(), program.begin() + size);
    PackageStream stream(std::make_unique<MemoryFile>(
        std::make_shared<const std::string>(program.begin(), program.end())));
    const std::optional<CertificateTable> table = ReadCertificateTable(stream);
    if (table && table->offset >= programSize &&
        table->directoryEntry + 8 <= static_cast<std::int64_t>(bare.size())) {
        const auto entry = bare.begin() + table->directoryEntry;
        std::fill(entry, entry + 8, 0);
    }
    return bare;
}

}  // namespace ambrevo::pack
