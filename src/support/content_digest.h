#pragma once

#include <compare>
#include <cstdint>
#include <span>
#include <string_view>

namespace ambrevo {

// A 128-bit digest that tells contents apart: two independent 64-bit mixes over eight bytes
// at a time, and the length. Not cryptographic: for caches, for versions of the author's own
// files and for telling a picture stream seen before, where only accidental likeness matters.
struct ContentDigest {
    std::uint64_t first = 0;
    std::uint64_t second = 0;
    std::uint64_t size = 0;

    auto operator<=>(const ContentDigest&) const = default;
};

ContentDigest DigestOf(std::span<const std::uint8_t> bytes);
ContentDigest DigestOf(std::string_view bytes);

}  // namespace ambrevo
