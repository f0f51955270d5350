#include "actions/decimal_number.h"

#include <algorithm>

namespace ambrevo {
namespace {

// A number as its significant digits: no leading zeros before the point, no trailing zeros
// after it, so that equal numbers have equal parts.
struct Digits {
    std::string_view whole;
    std::string_view fraction;
};

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<Digits> ParseDecimal(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);

    const auto point = text.find('.');
    Digits digits{text.substr(0, point),
                  point == std::string_view::npos ? std::string_view{} : text.substr(point + 1)};
    if (digits.whole.empty() && digits.fraction.empty()) return std::nullopt;
    if (!AllDigits(digits.whole) || !AllDigits(digits.fraction)) return std::nullopt;

    digits.whole.remove_prefix(std::min(digits.whole.find_first_not_of('0'), digits.whole.size()));
    const auto lastSignificant = digits.fraction.find_last_not_of('0');
    digits.fraction = lastSignificant == std::string_view::npos
                          ? std::string_view{}
                          : digits.fraction.substr(0, lastSignificant + 1);
    return digits;
}

}  // namespace

std::optional<std::strong_ordering> CompareDecimals(std::string_view a, std::string_view b) {
    const auto left = ParseDecimal(a);
    const auto right = ParseDecimal(b);
    if (!left || !right) return std::nullopt;
    // Whole parts without leading zeros: the longer is the larger, else digit by digit.
    if (left->whole.size() != right->whole.size()) {
        return left->whole.size() <=> right->whole.size();
    }
    if (const auto order = left->whole.compare(right->whole); order != 0) return order <=> 0;
    // Fractions compare digit by digit; a prefix is the smaller (.1 < .12).
    return left->fraction.compare(right->fraction) <=> 0;
}

}  // namespace ambrevo
