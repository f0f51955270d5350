#pragma once

#include "services/shell_launcher.h"

namespace ambrevo::web {

class WebDisc;

// Runs nothing: the page's launch panel shows what Windows would be asked.
class WebShellLauncher : public ShellLauncher {
public:
    explicit WebShellLauncher(WebDisc& disc) : disc_(disc) {}
    ShellResult Launch(const ShellRequest& request) override;

private:
    WebDisc& disc_;
};

}  // namespace ambrevo::web
