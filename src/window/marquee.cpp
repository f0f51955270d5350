#include "window/marquee.h"

#include <algorithm>

namespace ambrevo {

std::string MarqueeText(std::string_view title) {
    std::string text(title);
    text += "     ";
    return text;
}

std::string MarqueeCaption(std::string_view text, int position) {
    if (text.empty()) return {};
    const auto at =
        static_cast<std::size_t>(std::clamp(position, 1, static_cast<int>(text.size())));
    std::string caption(text.substr(at - 1));
    caption.append(text.substr(0, at));
    return caption;
}

}  // namespace ambrevo
