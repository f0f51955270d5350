#pragma once

#include <string>

#include "services/debug_output.h"

namespace ambrevo::pack {

// The tool has no debug channel: the menu readers' trace lines are dropped.
class SilentDebugOutput : public DebugOutput {
public:
    void Write(const std::string&) override {}
};

}  // namespace ambrevo::pack
