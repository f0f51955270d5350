#pragma once

#include <string>

namespace ambrevo {

// The platform's developer trace channel; never seen by the user.
class DebugOutput {
public:
    virtual ~DebugOutput() = default;
    virtual void Write(const std::string& text) = 0;
};

}  // namespace ambrevo
