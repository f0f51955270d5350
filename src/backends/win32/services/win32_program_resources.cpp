#include "backends/win32/services/win32_program_resources.h"

#include "backends/win32/system/system_error.h"
#include "support/app_error.h"

namespace ambrevo::win32 {
namespace {

// The system's text for the last error. An empty resource leaves no error code, and
// "The operation completed successfully" would be no report of a failure.
AppError LastError() {
    const DWORD error = ::GetLastError();
    return AppError(SystemErrorMessage(error != ERROR_SUCCESS ? error : ERROR_INVALID_DATA));
}

}  // namespace

// A loaded resource stays mapped as long as its module, so the bytes last the whole run.
const void* Win32ProgramResources::Load(const std::string& type, const std::string& name) {
    ::SetLastError(ERROR_SUCCESS);
    HRSRC found = ::FindResourceA(module_, name.c_str(), type.c_str());
    if (found == nullptr) throw LastError();
    const DWORD size = ::SizeofResource(module_, found);
    if (size == 0) throw LastError();
    HGLOBAL loaded = ::LoadResource(module_, found);
    if (loaded == nullptr) throw LastError();
    const void* bytes = ::LockResource(loaded);
    if (bytes == nullptr) throw LastError();
    return bytes;
}

}  // namespace ambrevo::win32
