#pragma once

#include <cstdint>
#include <string>

#include "services/clock.h"

namespace ambrevo::web {

// The browser's local time, in its locale's formats.
class WebClock : public Clock {
public:
    Date Today() override;
    std::string LongTimeText() override;
    std::string ShortDateText() override;
    std::uint32_t Seed() override;
};

}  // namespace ambrevo::web
