#pragma once

#include <string>

#include "support/pe_image.h"

namespace ambrevo::pack::testing {

// A stand-in for the bare player that passes the build's check: the headers of a 32-bit
// Windows program (i386), then some bytes of "code".
inline std::string BarePlayerImage() {
    std::string bytes = ambrevo::testing::pe_image::Header();
    ambrevo::testing::pe_image::PutNumber(bytes, ambrevo::testing::pe_image::kFileHeader, 0x14C, 2);
    return bytes + "bare player code";
}

}  // namespace ambrevo::pack::testing
