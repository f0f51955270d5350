#pragma once

#include <string_view>

#include "services/text_decoder.h"

namespace ambrevo::web {

// Decodes through the browser's TextDecoder, and Windows-1252 through the player's own
// table. A browser has no machine code page: the system's code page, and any code page the
// browser has no decoder for, read as Windows-1252.
class WebTextDecoder : public TextDecoder {
public:
    std::string ToUtf8(std::string_view bytes, std::uint32_t codePage) override;
};

}  // namespace ambrevo::web
