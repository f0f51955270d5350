#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace ambrevo::testing {

// A clock that shows whatever the test sets.
class FakeClock : public Clock {
public:
    Date Today() override { return today; }
    std::string LongTimeText() override { return timeText; }
    std::string ShortDateText() override { return dateText; }
    std::uint32_t Seed() override { return seed; }

    Date today{2026, 12, 8};
    std::string timeText = "10:15:30";
    std::string dateText = "08/12/2026";
    std::uint32_t seed = 12345;
};

}  // namespace ambrevo::testing
