#include "pack/package/player_version.h"

#include <algorithm>
#include <array>

namespace ambrevo::pack {
namespace {

// VS_VERSIONINFO: its length, its value's length (that of VS_FIXEDFILEINFO), its type,
// the key, padding to 4 bytes, then the fixed part: signature, structure version, the
// file version's high and low halves.
constexpr std::size_t kKeyAt = 6;
constexpr std::size_t kFixedAt = 40;
constexpr std::uint32_t kFixedSize = 52;
constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::size_t kVersionHighAt = kFixedAt + 8;
constexpr std::size_t kVersionLowAt = kFixedAt + 12;

constexpr std::array<std::uint8_t, 32> Utf16Key() {
    constexpr char key[] = "VS_VERSION_INFO";
    std::array<std::uint8_t, 32> bytes{};
    for (std::size_t i = 0; i < sizeof key; ++i) bytes[2 * i] = static_cast<std::uint8_t>(key[i]);
    return bytes;
}

std::uint32_t Little(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
    return value;
}

}  // namespace

std::optional<std::string> PlayerVersionOf(std::span<const std::uint8_t> player) {
    static constexpr std::array<std::uint8_t, 32> kKey = Utf16Key();
    for (auto found = player.begin();;) {
        found = std::search(found, player.end(), kKey.begin(), kKey.end());
        if (found == player.end()) return std::nullopt;
        const std::size_t key = static_cast<std::size_t>(found - player.begin());
        ++found;
        if (key < kKeyAt || player.size() - (key - kKeyAt) < kVersionLowAt + 4) continue;
        const std::size_t start = key - kKeyAt;
        if (Little(player, start + 2, 2) != kFixedSize ||
            Little(player, start + kFixedAt, 4) != kFixedSignature) {
            continue;
        }
        const std::uint32_t high = Little(player, start + kVersionHighAt, 4);
        const std::uint32_t low = Little(player, start + kVersionLowAt, 4);
        std::string version = std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF) +
                              "." + std::to_string(low >> 16);
        if ((low & 0xFFFF) != 0) version += "." + std::to_string(low & 0xFFFF);
        return version;
    }
}

}  // namespace ambrevo::pack
