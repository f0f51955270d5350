#pragma once

#include <cstdint>

namespace ambrevo {

// A COLORREF value, 0x00BBGGRR.
using ColorRef = std::uint32_t;

}  // namespace ambrevo
