#include "package/pe_certificate_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "package/memory_file.h"
#include "support/pe_image.h"

namespace ambrevo {
namespace {

namespace pe = testing::pe_image;

std::optional<CertificateTable> TableOf(const std::string& bytes) {
    PackageStream stream(std::make_unique<MemoryFile>(std::make_shared<const std::string>(bytes)));
    return ReadCertificateTable(stream);
}

// A signed program: header, 100 bytes of body, a 40-byte table at the end.
std::string SignedProgram() {
    return pe::Signed(pe::Header() + std::string(100, 'b'), 0, std::string(40, 'c'));
}

TEST(CertificateTableTest, GivesTheTableOfPe32AndPe32PlusHeaders) {
    const std::string pe32 = SignedProgram();
    EXPECT_EQ(TableOf(pe32), (CertificateTable{pe::kHeaderSize + 100, 40, pe::kSecurityEntry}));

    // PE32+ keeps its directories 16 bytes further on.
    std::string pe32Plus = pe32;
    pe::PutNumber(pe32Plus, pe::kOptionalHeader, 0x20B, 2);
    pe::PutNumber(pe32Plus, pe::kDirectoryCount + 16, 16);
    pe::PutNumber(pe32Plus, pe::kSecurityEntry + 16, pe::kHeaderSize + 60);
    pe::PutNumber(pe32Plus, pe::kSecurityEntry + 20, 80);
    EXPECT_EQ(TableOf(pe32Plus),
              (CertificateTable{pe::kHeaderSize + 60, 80, pe::kSecurityEntry + 16}));

    // A table that does not end the file is still the header's table.
    EXPECT_EQ(TableOf(pe32 + "after"),
              (CertificateTable{pe::kHeaderSize + 100, 40, pe::kSecurityEntry}));
}

TEST(CertificateTableTest, NoTableForDamagedOrAbsurdHeaders) {
    const std::string good = SignedProgram();
    const auto changed = [&](const std::function<void(std::string&)>& change) {
        std::string bytes = good;
        change(bytes);
        return bytes;
    };
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"only MZ", "MZ"},
        {"cut before the PE pointer", good.substr(0, 0x3E)},
        {"cut inside the signature", good.substr(0, pe::kPeOffset + 2)},
        {"cut inside the optional header", good.substr(0, pe::kOptionalHeader + 50)},
        {"cut inside the security entry", good.substr(0, pe::kSecurityEntry + 6)},
        {"no MZ", changed([](std::string& b) { b[0] = 'X'; })},
        {"PE pointer far past the end",
         changed([](std::string& b) { pe::PutNumber(b, 0x3C, 0xFFFFFFF0u); })},
        {"PE pointer at the end", changed([&](std::string& b) {
             pe::PutNumber(b, 0x3C, static_cast<std::uint32_t>(good.size() - 2));
         })},
        {"no PE signature", changed([](std::string& b) { b[pe::kPeOffset + 2] = 'X'; })},
        {"unknown optional header magic",
         changed([](std::string& b) { pe::PutNumber(b, pe::kOptionalHeader, 0x107, 2); })},
        {"four directories only",
         changed([](std::string& b) { pe::PutNumber(b, pe::kDirectoryCount, 4); })},
        {"optional header too short for the entry",
         changed([](std::string& b) { pe::PutNumber(b, pe::kFileHeader + 16, 96 + 32, 2); })},
        {"empty directory", changed([](std::string& b) { pe::NameCertificateTable(b, 0, 0); })},
        {"table of size 0",
         changed([](std::string& b) { pe::NameCertificateTable(b, pe::kHeaderSize + 100, 0); })},
        {"table one byte past the end",
         changed([](std::string& b) { pe::NameCertificateTable(b, pe::kHeaderSize + 100, 41); })},
        {"offset that wraps in 32 bits",
         changed([](std::string& b) { pe::NameCertificateTable(b, 0xFFFFFFF0u, 0x20); })},
        {"largest offset and size",
         changed([](std::string& b) { pe::NameCertificateTable(b, 0xFFFFFFFFu, 0xFFFFFFFFu); })},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TableOf(c.bytes), std::nullopt) << c.what;
    }
}

}  // namespace
}  // namespace ambrevo
