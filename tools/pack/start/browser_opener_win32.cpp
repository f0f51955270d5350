#include <windows.h>
#include <shellapi.h>

#include "pack/start/browser_opener.h"

namespace ambrevo::pack {

bool OpenInBrowser(const std::string& address) {
    // Values above 32 mean the shell started the handler of the address's scheme.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace ambrevo::pack
