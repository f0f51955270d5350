#pragma once

#include <cstdint>
#include <string>

namespace ambrevo {

// A calendar date.
struct Date {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
};

// The local date and time, formatted as the system's locale says.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date Today() = 0;
    // The current time in the system's long time format (hours, minutes, seconds).
    virtual std::string LongTimeText() = 0;
    // Today's date in the system's short date format.
    virtual std::string ShortDateText() = 0;
    // A value that differs from run to run, for seeding the random numbers.
    virtual std::uint32_t Seed() = 0;
};

}  // namespace ambrevo
