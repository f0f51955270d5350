#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ambrevo::testing {

// Minimal PE32 and PE32+ programs for tests: an "MZ" header pointing at "PE\0\0", a file
// header and an optional header of 16 data directories. Only what a reader of the
// security directory and the authoring tool's check of the player look at is filled in.
namespace pe_image {

constexpr std::size_t kPeOffset = 0x40;
constexpr std::size_t kFileHeader = kPeOffset + 4;
constexpr std::size_t kOptionalHeader = kFileHeader + 20;
constexpr std::size_t kDirectoryCount = kOptionalHeader + 92;
constexpr std::size_t kSecurityEntry = kOptionalHeader + 96 + 4 * 8;
constexpr std::size_t kHeaderSize = kOptionalHeader + 224;
// PE32+ moves the directories 16 bytes further.
constexpr std::size_t kSecurityEntry64 = kSecurityEntry + 16;
constexpr std::size_t kHeaderSize64 = kHeaderSize + 16;

inline void PutNumber(std::string& bytes, std::size_t at, std::uint32_t value, int count = 4) {
    for (int i = 0; i < count; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    }
}

// The header with an empty security directory.
inline std::string Header() {
    std::string bytes(kHeaderSize, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    PutNumber(bytes, 0x3C, kPeOffset);
    bytes.replace(kPeOffset, 4, std::string("PE\0\0", 4));
    PutNumber(bytes, kFileHeader + 16, 224, 2);  // size of the optional header
    PutNumber(bytes, kOptionalHeader, 0x10B, 2);
    PutNumber(bytes, kDirectoryCount, 16);
    return bytes;
}

// The header of a 64-bit (x86-64, PE32+) program with an empty security directory.
inline std::string Header64() {
    std::string bytes = Header();
    bytes.resize(kHeaderSize64, '\0');
    PutNumber(bytes, kFileHeader, 0x8664, 2);
    PutNumber(bytes, kFileHeader + 16, 240, 2);
    PutNumber(bytes, kOptionalHeader, 0x20B, 2);
    PutNumber(bytes, kDirectoryCount, 0);
    PutNumber(bytes, kDirectoryCount + 16, 16);
    return bytes;
}

inline void NameCertificateTable(std::string& bytes, std::uint32_t offset, std::uint32_t size) {
    const bool pe32Plus = bytes[kOptionalHeader + 1] == 0x02;
    const std::size_t entry = pe32Plus ? kSecurityEntry64 : kSecurityEntry;
    PutNumber(bytes, entry, offset);
    PutNumber(bytes, entry + 4, size);
}

// The file as signing leaves it: `padding` zero bytes, then a certificate table that the
// header names and that ends the file.
inline std::string Signed(std::string file, std::size_t padding,
                          const std::string& table = std::string(24, '\x30')) {
    file.append(padding, '\0');
    NameCertificateTable(file, static_cast<std::uint32_t>(file.size()),
                         static_cast<std::uint32_t>(table.size()));
    return file + table;
}

}  // namespace pe_image
}  // namespace ambrevo::testing
