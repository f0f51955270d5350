#include "backends/win32/services/win32_debug_output.h"

#include <windows.h>

namespace ambrevo::win32 {

void Win32DebugOutput::Write(const std::string& text) { ::OutputDebugStringA(text.c_str()); }

}  // namespace ambrevo::win32
