#pragma once

#include "services/text_decoder.h"

namespace ambrevo::win32 {

// Decodes through the system's code page tables (MultiByteToWideChar).
class Win32TextDecoder : public TextDecoder {
public:
    std::string ToUtf8(std::string_view bytes, std::uint32_t codePage) override;
};

}  // namespace ambrevo::win32
