#include "pack/web/loopback_host.h"

#include <algorithm>
#include <array>
#include <string>

#include "support/ascii.h"

namespace ambrevo::pack {

bool IsLoopbackHost(std::string_view host, int port) {
    // An address in brackets holds colons of its own; the port follows the bracket.
    const std::size_t nameEnd =
        host.starts_with('[') ? host.find(']') + 1 : std::min(host.find(':'), host.size());
    if (nameEnd == 0) return false;
    const std::string name = AsciiLower(host.substr(0, nameEnd));
    const std::string_view portText = host.substr(nameEnd);
    constexpr std::array<std::string_view, 3> kNames = {"localhost", "127.0.0.1", "[::1]"};
    if (std::find(kNames.begin(), kNames.end(), name) == kNames.end()) return false;
    return portText == ":" + std::to_string(port) || (portText.empty() && port == 80);
}

}  // namespace ambrevo::pack
