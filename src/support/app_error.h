#pragma once

#include <stdexcept>
#include <string>

namespace ambrevo {

// An unexpected error. It unwinds to the event that started the work, where the
// application's general error report shows its text.
class AppError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace ambrevo
