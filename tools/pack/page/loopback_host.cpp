#include "pack/page/loopback_host.h"

#include <string>

namespace ambrevo::pack {

bool IsLoopbackHost(std::string_view host, int port) {
    constexpr std::string_view kName = "127.0.0.1";
    if (!host.starts_with(kName)) return false;
    const std::string_view portText = host.substr(kName.size());
    return portText == ":" + std::to_string(port) || (portText.empty() && port == 80);
}

}  // namespace ambrevo::pack
