#pragma once

#include <memory>
#include <string>

namespace ambrevo {

// Window states for a launched program, as the platform numbers them.
inline constexpr int kShowHide = 0;
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMaximized = 3;

// Shell errors the actions tell apart.
inline constexpr int kShellFileNotFound = 2;
inline constexpr int kShellNoAssociation = 31;

// A program the shell started. Destroying it releases the platform's handle.
class LaunchedProcess {
public:
    virtual ~LaunchedProcess() = default;
    // True while the program runs; false once it has ended or cannot be waited for.
    virtual bool Running() = 0;
};

// One request to the shell: open a document, run a program, explore a folder, open an
// address. Empty parameters and folder are passed as empty texts.
struct ShellRequest {
    std::string verb;
    std::string file;
    std::string parameters;
    std::string folder;
    int showCommand = kShowHide;
    // The shell completes the request before Launch returns, rather than handing part of it
    // to a thread of its own: set when the program ends right after the launch, which would
    // otherwise end the request with it.
    bool finishBeforeReturn = false;
};

struct ShellResult {
    bool succeeded = false;
    int errorCode = 0;    // the shell's code when it failed
    int systemError = 0;  // the system's error code (the thread's last error) when it failed
    // The user cancelled a prompt of the system (a security or elevation prompt): nothing
    // was started.
    bool cancelled = false;
    std::unique_ptr<LaunchedProcess> process;  // null when the shell started none
};

// Hands requests to the platform's shell, which shows no error dialogs of its own.
class ShellLauncher {
public:
    virtual ~ShellLauncher() = default;
    virtual ShellResult Launch(const ShellRequest& request) = 0;
};

}  // namespace ambrevo
