#pragma once

#include <compare>
#include <optional>
#include <string_view>

namespace ambrevo {

// Compares two decimal numbers written with "." as the decimal point ("7", "7.0", "7.10",
// ".5"; spaces around them are allowed), exactly and whatever the system's locale: 7.10 is
// below 7.9, 7 equals 7.0. Nothing when either text is not such a number (a sign, an
// exponent, a second "." or no digit at all).
std::optional<std::strong_ordering> CompareDecimals(std::string_view a, std::string_view b);

}  // namespace ambrevo
