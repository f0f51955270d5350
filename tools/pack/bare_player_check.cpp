#include "bare_player_check.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "built_package.h"
#include "pack_error.h"
#include "package/memory_file.h"
#include "package/pe_header.h"

namespace ambrevo::pack {
namespace {

constexpr std::uint16_t kMachineI386 = 0x14C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kMachineArm64 = 0xAA64;
constexpr std::uint16_t kOptionalPe32Plus = 0x20B;
constexpr char kPackageMagic[] = {'F', 'P', 'A', 'K'};

enum class ProgramKind { NotWindows, Windows32, Windows64, OtherProcessor };

std::uint32_t LittleEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

ProgramKind KindOf(std::span<const std::uint8_t> bytes) {
    PackageStream stream(std::make_unique<MemoryFile>(std::string(bytes.begin(), bytes.end())));
    const std::optional<PeHeader> header = ReadPeHeader(stream);
    if (!header) return ProgramKind::NotWindows;
    if (header->machine == kMachineAmd64 || header->machine == kMachineArm64 ||
        header->optionalMagic == kOptionalPe32Plus) {
        return ProgramKind::Windows64;
    }
    return header->machine == kMachineI386 ? ProgramKind::Windows32 : ProgramKind::OtherProcessor;
}

// The last four bytes give the 1-based place of a package header ("FPAK") in the file.
bool EndsWithPackageTrailer(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 8) return false;
    const std::uint32_t place = LittleEndian(bytes, bytes.size() - 4, 4);
    if (place == 0 || place - 1 > bytes.size() - 8) return false;
    return std::memcmp(bytes.data() + place - 1, kPackageMagic, sizeof kPackageMagic) == 0;
}

}  // namespace

void CheckWindowsPlayer(std::span<const std::uint8_t> program, const std::string& shownName) {
    const std::string file = "\"" + shownName + "\"";
    switch (KindOf(program)) {
        case ProgramKind::Windows32:
            return;
        case ProgramKind::NotWindows:
            throw PackError(file + " is no Windows program; give the bare player (ambrevo.exe)");
        case ProgramKind::Windows64:
            throw PackError(file +
                            " is a 64-bit Windows program; give the 32-bit bare player "
                            "(ambrevo.exe)");
        case ProgramKind::OtherProcessor:
            throw PackError(file +
                            " is a Windows program for another processor; give the 32-bit bare "
                            "player (ambrevo.exe)");
    }
}

bool IsBarePlayer(std::span<const std::uint8_t> program) {
    return KindOf(program) == ProgramKind::Windows32 && !EndsWithPackageTrailer(program) &&
           !CarriesPackage(program);
}

}  // namespace ambrevo::pack
