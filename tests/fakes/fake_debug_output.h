#pragma once

#include <string>
#include <vector>

#include "services/debug_output.h"

namespace ambrevo::testing {

// Records every debug line.
class FakeDebugOutput : public DebugOutput {
public:
    void Write(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

}  // namespace ambrevo::testing
