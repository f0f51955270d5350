#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ambrevo::pack {

// One entry of a package: its name as stored (before padding) and its data.
struct PackageEntryData {
    std::string name;
    std::vector<std::uint8_t> data;
};

// The two header values that the player reads past.
struct PackageHeaderValues {
    std::string text;
    std::uint8_t byte = 0;
};

// The program bytes unchanged, then the package: "FPAK", 2 0 0, the header text (tag 4)
// and byte (tag 1), the entry count, one 260-byte directory entry per entry (name padded
// with spaces, 1-based data position), the entries' data in directory order starting
// right after the directory, zero bytes that make the file a multiple of 8 bytes long,
// and the trailer (the package's 1-based position).
// Names are stored as given. Throws PackError for an empty program, more than 255
// entries, a name longer than 256 bytes, or a file beyond 2 GiB.
std::vector<std::uint8_t> WritePackage(std::span<const std::uint8_t> program,
                                       std::span<const PackageEntryData> entries,
                                       const PackageHeaderValues& header = {});

}  // namespace ambrevo::pack
