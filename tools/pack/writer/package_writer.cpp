#include "pack/writer/package_writer.h"

#include <limits>

#include "pack/common/pack_error.h"
#include "pack/writer/tagged_writer.h"

namespace ambrevo::pack {
namespace {

constexpr std::size_t kNameSize = 256;
constexpr std::size_t kEntrySize = kNameSize + 4;
constexpr std::size_t kMaxEntryCount = 255;  // the count is one byte
// The file ends on this boundary, so that signing the program pads nothing.
constexpr std::size_t kFileAlignment = 8;
constexpr auto kMaxFileSize = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

void CheckEntries(std::span<const std::uint8_t> program,
                  std::span<const PackageEntryData> entries) {
    if (program.empty()) throw PackError("the player program is empty");
    if (entries.size() > kMaxEntryCount) {
        throw PackError("a package holds at most " + std::to_string(kMaxEntryCount) + " entries");
    }
    for (const PackageEntryData& entry : entries) {
        if (entry.name.size() > kNameSize) {
            throw PackError("the entry name \"" + entry.name + "\" is longer than " +
                            std::to_string(kNameSize) + " bytes");
        }
    }
}

}  // namespace

std::vector<std::uint8_t> WritePackage(std::span<const std::uint8_t> program,
                                       std::span<const PackageEntryData> entries,
                                       const PackageHeaderValues& header) {
    CheckEntries(program, entries);
    std::size_t total =
        program.size() + 4 + 3 + 5 + header.text.size() + 6 + 1 + entries.size() * kEntrySize + 4;
    for (const PackageEntryData& entry : entries) total += entry.data.size();
    const std::size_t padding = (kFileAlignment - total % kFileAlignment) % kFileAlignment;
    total += padding;
    if (total > kMaxFileSize) throw PackError("the package would exceed 2 GiB");

    TaggedWriter out;
    out.RawBytes(program.data(), program.size());
    out.RawBytes("FPAK", 4);
    out.RawByte(2);
    out.RawByte(0);
    out.RawByte(0);
    out.WriteString(header.text);
    out.WriteByte(header.byte);
    out.RawByte(static_cast<std::uint8_t>(entries.size()));

    std::size_t dataPosition = out.Bytes().size() + entries.size() * kEntrySize;
    for (const PackageEntryData& entry : entries) {
        out.RawBytes(entry.name.data(), entry.name.size());
        for (std::size_t fill = entry.name.size(); fill < kNameSize; ++fill) out.RawByte(' ');
        out.RawInt32(static_cast<std::int32_t>(dataPosition + 1));
        dataPosition += entry.data.size();
    }
    for (const PackageEntryData& entry : entries) {
        out.RawBytes(entry.data.data(), entry.data.size());
    }
    for (std::size_t fill = 0; fill < padding; ++fill) out.RawByte(0);
    out.RawInt32(static_cast<std::int32_t>(program.size() + 1));
    return out.TakeBytes();
}

}  // namespace ambrevo::pack
