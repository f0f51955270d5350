#pragma once

#include <windows.h>

#include <string>

namespace ambrevo::win32 {

// The system's text for an error code, without the trailing line break and full stop
// (the general error report adds its own full stop).
std::string SystemErrorMessage(DWORD error);

}  // namespace ambrevo::win32
