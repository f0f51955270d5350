#include "pack/package/bare_player_check.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "pack/common/pack_error.h"
#include "pack/package/built_package.h"
#include "package/memory_file.h"
#include "package/pe_header.h"

namespace ambrevo::pack {
namespace {

constexpr std::uint16_t kMachineI386 = 0x14C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kOptionalPe32 = 0x10B;
constexpr std::uint16_t kOptionalPe32Plus = 0x20B;
constexpr char kPackageMagic[] = {'F', 'P', 'A', 'K'};

std::uint32_t LittleEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

enum class PlayerFileKind { NotWindows, Player, OtherProcessor };

// Both players are x86 programs: the 32-bit one (i386, PE32) and the 64-bit one (x86-64,
// PE32+). Any other pairing of machine and header would not run the player's code.
PlayerFileKind KindOf(std::span<const std::uint8_t> bytes) {
    PackageStream stream(std::make_unique<MemoryFile>(std::string(bytes.begin(), bytes.end())));
    const std::optional<PeHeader> header = ReadPeHeader(stream);
    if (!header) return PlayerFileKind::NotWindows;
    const bool player32 = header->machine == kMachineI386 && header->optionalMagic == kOptionalPe32;
    const bool player64 =
        header->machine == kMachineAmd64 && header->optionalMagic == kOptionalPe32Plus;
    return player32 || player64 ? PlayerFileKind::Player : PlayerFileKind::OtherProcessor;
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
    const std::string wanted = "give a bare player, the 32-bit or the 64-bit ambrevo.exe";
    switch (KindOf(program)) {
        case PlayerFileKind::Player:
            return;
        case PlayerFileKind::NotWindows:
            throw PackError(file + " is no Windows program; " + wanted);
        case PlayerFileKind::OtherProcessor:
            throw PackError(file + " is a Windows program for another processor; " + wanted);
    }
}

bool IsBarePlayer(std::span<const std::uint8_t> program) {
    return KindOf(program) == PlayerFileKind::Player && !EndsWithPackageTrailer(program) &&
           !CarriesPackage(program);
}

}  // namespace ambrevo::pack
