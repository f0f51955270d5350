#include "backends/win32/entry/error_mode.h"

#include <windows.h>

namespace ambrevo::win32 {

void ReportCriticalErrorsAsFailures() {
    constexpr UINT kQuiet = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
    // SetErrorMode gives back the mode it replaces: the one way to read it on every system.
    const UINT current = ::SetErrorMode(kQuiet);
    ::SetErrorMode(current | kQuiet);
}

}  // namespace ambrevo::win32
