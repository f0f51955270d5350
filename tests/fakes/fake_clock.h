#pragma once

#include <cstdint>
#include <string>

#include "services/clock.h"

namespace ambrevo::testing {

// A clock that tells whatever the test sets.
class FakeClock : public Clock {
public:
    Date Today() override { return today; }
    std::string LongTimeText() override { return timeText; }
    std::string ShortDateText() override { return dateText; }
    std::uint32_t Seed() override { return seed; }

    Date today{2024, 5, 17};
    std::string timeText = "10:11:12";
    std::string dateText = "17.05.2024";
    std::uint32_t seed = 12345;
};

}  // namespace ambrevo::testing
