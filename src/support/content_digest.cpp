#include "support/content_digest.h"

#include <bit>
#include <cstring>

namespace ambrevo {
namespace {

// The finishing mix of MurmurHash3: every input bit reaches every output bit.
std::uint64_t Finish(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xFF51AFD7ED558CCDULL;
    value ^= value >> 33;
    value *= 0xC4CEB9FE1A85EC53ULL;
    return value ^ (value >> 33);
}

}  // namespace

ContentDigest DigestOf(std::span<const std::uint8_t> bytes) {
    std::uint64_t first = 0x243F6A8885A308D3ULL;
    std::uint64_t second = 0x13198A2E03707344ULL;
    const auto mix = [&](std::uint64_t word) {
        first = std::rotl((first ^ word) * 0x9E3779B97F4A7C15ULL, 29);
        second = std::rotl(second + word * 0xC2B2AE3D27D4EB4FULL, 31) * 0x165667B19E3779F9ULL;
    };
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + at, 8);
        mix(word);
    }
    std::uint64_t tail = 0;
    if (at < bytes.size()) std::memcpy(&tail, bytes.data() + at, bytes.size() - at);
    mix(tail ^ (std::uint64_t{bytes.size() - at} << 56));
    return {Finish(first ^ bytes.size()), Finish(second + first), bytes.size()};
}

ContentDigest DigestOf(std::string_view bytes) {
    return DigestOf(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace ambrevo
