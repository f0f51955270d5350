#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ambrevo::pack {

// The bare player of a built program: its first programSize bytes. When the program was
// signed after the build, the header's security directory names the signature, which
// lies beyond the player; the copy gets an empty directory instead, so that it is again
// a plain unsigned program that can be built and signed.
std::vector<std::uint8_t> BarePlayerBytes(std::span<const std::uint8_t> program,
                                          std::int64_t programSize);

}  // namespace ambrevo::pack
