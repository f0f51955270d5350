#include "menu/menu_text.h"

#include <algorithm>

namespace ambrevo {

std::string MenuText::operator()(std::string bytes) const {
    // ASCII reads the same in every code page a menu can have.
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (decoder == nullptr || ascii) return bytes;
    return decoder->ToUtf8(bytes, codePage);
}

}  // namespace ambrevo
