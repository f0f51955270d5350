#pragma once

#include <windows.h>

#include <functional>

#include "services/shell_launcher.h"

namespace ambrevo::win32 {

// Launches through ShellExecuteExW, asking for the started process and for no error
// dialogs of the shell's own, and for a finished request before it returns where the
// request says so. The shell may hand a request to COM objects: the calling thread should
// be a single-threaded COM apartment.
class Win32ShellLauncher : public ShellLauncher {
public:
    // ownerWindow: the window the shell's own windows belong to (the menu window).
    explicit Win32ShellLauncher(std::function<HWND()> ownerWindow)
        : ownerWindow_(std::move(ownerWindow)) {}

    ShellResult Launch(const ShellRequest& request) override;

private:
    std::function<HWND()> ownerWindow_;
};

}  // namespace ambrevo::win32
