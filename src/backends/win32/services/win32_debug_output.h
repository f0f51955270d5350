#pragma once

#include "services/debug_output.h"

namespace ambrevo::win32 {

// The debugger channel (OutputDebugStringA): only a debugger or a tracing tool sees it.
class Win32DebugOutput : public DebugOutput {
public:
    void Write(const std::string& text) override;
};

}  // namespace ambrevo::win32
