#pragma once

#include <string>
#include <string_view>

namespace ambrevo {

// The text that scrolls through the caption: the title and a gap of five spaces before
// it comes round again.
std::string MarqueeText(std::string_view title);

// The number of characters of a UTF-8 text (a malformed byte counts as one).
int MarqueeLength(std::string_view text);

// The scrolling title at a 1-based character position: the text from that character to its end,
// then from its start up to and including that character, so the character stands at
// both ends and the caption is one character longer than the text. A position outside
// 1..length is taken as the nearest end.
std::string MarqueeCaption(std::string_view text, int position);

}  // namespace ambrevo
