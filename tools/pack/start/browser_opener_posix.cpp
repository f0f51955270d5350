#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <thread>

#include "pack/start/browser_opener.h"

extern char** environ;

namespace ambrevo::pack {

bool OpenInBrowser(const std::string& address) {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!x11 || !*x11) && (!wayland || !*wayland)) return false;
    std::string program = "xdg-open";
    std::string argument = address;
    char* const arguments[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, arguments, environ) != 0) {
        return false;
    }
    // Some openers return only when the browser does: the child is reaped aside.
    std::thread([child] {
        int status = 0;
        waitpid(child, &status, 0);
    }).detach();
    return true;
}

}  // namespace ambrevo::pack
