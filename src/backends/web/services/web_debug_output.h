#pragma once

#include <string>

#include "services/debug_output.h"

namespace ambrevo::web {

// The browser's console.
class WebDebugOutput : public DebugOutput {
public:
    void Write(const std::string& text) override;
};

}  // namespace ambrevo::web
