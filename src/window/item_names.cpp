#include "window/item_names.h"

#include <string>

namespace ambrevo {
namespace {

constexpr std::size_t kNumberDigits = 3;

}  // namespace

std::string ItemControlName(std::string_view prefix, int n) {
    const std::string digits = std::to_string(n);
    std::string name(prefix);
    if (digits.size() < kNumberDigits) name.append(kNumberDigits - digits.size(), '0');
    name += digits;
    return name;
}

int ItemNumberOf(const ui::Control& control) {
    const std::string& name = control.Name();
    if (name.size() < kNumberDigits) return 0;
    int n = 0;
    for (std::size_t i = name.size() - kNumberDigits; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

}  // namespace ambrevo
