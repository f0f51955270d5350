#pragma once

#include <cstdint>
#include <string_view>

#include "menu/menu_model.h"
#include "services/clock.h"
#include "services/debug_output.h"

namespace ambrevo {

// lastFrame[item][set] of MenuDefinition.
using LastFrameTable = decltype(MenuDefinition::lastFrame);

// The colour index table: COLORREF 0x00BBGGRR of index 0..15, 0 for any other index.
// Writes the debug line "QBColor Called for: " + index on every call.
ColorRef QBColor(std::int32_t index, DebugOutput& debug);

// True when the whole text is a decimal integer in the signed 32-bit range, optionally
// preceded by spaces and then one sign; the empty text is not valid. value (may be null)
// receives the number, or 0 when the text is not valid.
bool IsValidInteger(std::string_view text, std::int32_t* value);

// For each item 1..min(itemCount, 100) and set, the highest frame j counting up from 1,
// stopping at the first j that no set of the item has, for which the set has a picture;
// 0 when the set has no frame 1. Every other entry is 0.
void CountFrames(const PictureTable& pictures, int itemCount, LastFrameTable& lastFrame);
void CountFrames(MenuDefinition& def);  // from def.header.itemCount and def.pictures

// True when the menu's expiry notice is due: a year above 0, a message, and today after
// the expiry day (on the day itself it is not due yet).
bool ExpiryDue(const MenuDefinition& def, const Date& today);

}  // namespace ambrevo
