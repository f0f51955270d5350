#pragma once

#include <cstdint>
#include <string>

#include "services/text_decoder.h"
#include "support/menu_code_pages.h"

namespace ambrevo {

// How the texts of one menu body become the player's texts: decoded from the menu's code
// page into UTF-8. Without a decoder the stored bytes are kept, as the authoring tool
// reads them.
struct MenuText {
    TextDecoder* decoder = nullptr;
    std::uint32_t codePage = kSystemCodePage;

    std::string operator()(std::string bytes) const;
};

}  // namespace ambrevo
