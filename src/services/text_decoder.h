#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ambrevo {

// Turns the bytes of a menu text into the player's UTF-8.
class TextDecoder {
public:
    virtual ~TextDecoder() = default;
    // bytes in the given Windows code page, kSystemCodePage for the machine's ANSI code
    // page; a code page the platform does not know is taken as the machine's. Bytes that
    // are not a character of the code page become U+FFFD.
    virtual std::string ToUtf8(std::string_view bytes, std::uint32_t codePage) = 0;
};

}  // namespace ambrevo
