#pragma once

#include <ostream>
#include <string>

namespace ambrevo::pack {

// Asks the system to show the address in the user's default browser, without waiting for
// the browser: on Windows through the shell, on Linux through xdg-open when there is a
// display (DISPLAY or WAYLAND_DISPLAY). False when nothing was asked to open it.
bool OpenInBrowser(const std::string& address);

// Opens the address in the default browser, or where that cannot be done, says to.
void ShowInBrowser(const std::string& address, std::ostream& out);

}  // namespace ambrevo::pack
