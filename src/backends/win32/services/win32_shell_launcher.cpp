#include "backends/win32/services/win32_shell_launcher.h"

#include "backends/win32/system/com_apartment.h"
#include "backends/win32/system/system_libraries.h"
#include "backends/win32/system/unique_handle.h"
#include "backends/win32/system/wide_text.h"

namespace ambrevo::win32 {
namespace {

// The process of a launch, closed when the watch over it ends.
class Win32Process : public LaunchedProcess {
public:
    explicit Win32Process(HANDLE process) : process_(process) {}
    bool Running() override { return ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

private:
    UniqueProcess process_;
};

}  // namespace

ShellResult Win32ShellLauncher::Launch(const ShellRequest& request) {
    const ShellFunctions& shell = ShellLibrary();
    ComApartment::Enter();
    const std::wstring verb = Widen(request.verb);
    const std::wstring file = Widen(request.file);
    const std::wstring parameters = Widen(request.parameters);
    const std::wstring folder = Widen(request.folder);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    if (request.finishBeforeReturn) info.fMask |= SEE_MASK_NOASYNC;
    info.hwnd = ownerWindow_ ? ownerWindow_() : nullptr;
    info.lpVerb = verb.c_str();
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = folder.c_str();
    info.nShow = request.showCommand;

    ShellResult result;
    result.succeeded = shell.shellExecuteEx(&info) != FALSE;
    // hInstApp carries the shell's error code, a small number, in a handle's clothes. A
    // security prompt the user cancelled, and a program that the system's security policy
    // refused, are told by the thread's last error alone.
    if (!result.succeeded) {
        const DWORD lastError = ::GetLastError();
        result.systemError = static_cast<int>(lastError);
        result.cancelled = lastError == ERROR_CANCELLED;
        result.errorCode = static_cast<int>(reinterpret_cast<INT_PTR>(info.hInstApp));
    }
    if (info.hProcess) result.process = std::make_unique<Win32Process>(info.hProcess);
    return result;
}

}  // namespace ambrevo::win32
