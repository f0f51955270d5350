#include "window/marquee.h"

#include <algorithm>

#include "support/utf8.h"

namespace ambrevo {

std::string MarqueeText(std::string_view title) {
    std::string text(title);
    text += "     ";
    return text;
}

int MarqueeLength(std::string_view text) {
    int length = 0;
    for (std::size_t i = 0; i < text.size(); ++length) NextCodePoint(text, i);
    return length;
}

std::string MarqueeCaption(std::string_view text, int position) {
    if (text.empty()) return {};
    const int at = std::clamp(position, 1, MarqueeLength(text));
    // The byte offsets where character `at` begins and ends.
    std::size_t begin = 0;
    for (int n = 1; n < at; ++n) NextCodePoint(text, begin);
    std::size_t end = begin;
    NextCodePoint(text, end);
    std::string caption(text.substr(begin));
    caption.append(text.substr(0, end));
    return caption;
}

}  // namespace ambrevo
