#pragma once

#include "services/clock.h"

namespace ambrevo::win32 {

// The local date and time, in the user's locale formats.
class Win32Clock : public Clock {
public:
    Date Today() override;
    std::string LongTimeText() override;
    std::string ShortDateText() override;
    std::uint32_t Seed() override;
};

}  // namespace ambrevo::win32
