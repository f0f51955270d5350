#pragma once

#include <string>

namespace ambrevo::bench {

// One figure beside its floor, both in `unit`, and their ratio, with three significant
// digits or more: "menu load 95.3 ms, floor 41.0 ms, 2.32x". A floor of 0 or below gives
// no ratio.
std::string AgainstFloor(const std::string& what, double value, double floor,
                         const std::string& unit);

}  // namespace ambrevo::bench
