#include "floor_line.h"

#include <cmath>
#include <cstdio>

namespace ambrevo::bench {
namespace {

std::string Figure(double value, const std::string& unit) {
    const double size = std::fabs(value);
    const int decimals = size >= 100 ? 0 : size >= 10 ? 1 : size >= 1 ? 2 : 3;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text + (" " + unit);
}

}  // namespace

std::string AgainstFloor(const std::string& what, double value, double floor,
                         const std::string& unit) {
    std::string line = what + " " + Figure(value, unit) + ", floor " + Figure(floor, unit);
    if (!(floor > 0)) return line + ", no ratio";
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, ", %.2fx", value / floor);
    return line + ratio;
}

}  // namespace ambrevo::bench
