#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ambrevo::pack {

// The file version of a player's version resource ("0.1.0", with a fourth part only when
// it is not 0), found by the resource's own marks: the key "VS_VERSION_INFO" in UTF-16
// and, after it, the fixed part's signature. Nothing when the bytes hold no such resource.
std::optional<std::string> PlayerVersionOf(std::span<const std::uint8_t> player);

}  // namespace ambrevo::pack
