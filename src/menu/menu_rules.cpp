#include "menu/menu_rules.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>

#include "support/messages.h"

namespace ambrevo {

ColorRef QBColor(std::int32_t index, DebugOutput& debug) {
    static constexpr std::array<ColorRef, 16> kColors = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    };
    DebugTrace(debug, "QBColor Called for: " + std::to_string(index));
    if (index < 0 || index >= static_cast<std::int32_t>(kColors.size())) return 0;
    return kColors[static_cast<std::size_t>(index)];
}

bool IsValidInteger(std::string_view text, std::int32_t* value) {
    if (value != nullptr) *value = 0;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) return false;

    // The magnitude may reach 2^31 for a negative number; stop as soon as it is past that.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit) return false;
    }
    if (!negative && magnitude == kLimit) return false;
    if (value != nullptr) *value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

void CountFrames(const PictureTable& pictures, int itemCount, LastFrameTable& lastFrame) {
    for (auto& sets : lastFrame) sets.fill(0);
    const int items = std::min(itemCount, kMaxItems);
    for (int item = 1; item <= items; ++item) {
        // HasPicture is false beyond the last frame, so the scan ends at kPictureFrames.
        for (int frame = 1;; ++frame) {
            bool anySet = false;
            for (int set = 0; set < kPictureSets; ++set) {
                if (pictures.HasPicture(item, set, frame)) {
                    lastFrame[static_cast<std::size_t>(item)][static_cast<std::size_t>(set)] =
                        frame;
                    anySet = true;
                }
            }
            if (!anySet) break;
        }
    }
}

void CountFrames(MenuDefinition& def) {
    CountFrames(def.pictures, def.header.itemCount, def.lastFrame);
}

bool ExpiryDue(const MenuDefinition& def, const Date& today) {
    if (def.expiryYear <= 0 || def.expiryMessage.empty()) return false;
    if (today.year != def.expiryYear) return today.year > def.expiryYear;
    if (today.month != def.expiryMonth) return today.month > def.expiryMonth;
    return today.day > def.expiryDay;
}

}  // namespace ambrevo
