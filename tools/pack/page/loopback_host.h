#pragma once

#include <string_view>

namespace ambrevo::pack {

// Whether a request's Host header names the server as it listens: 127.0.0.1 with the
// server's port (left out only when that is 80). Not localhost or [::1]: the server binds
// 127.0.0.1 alone, and a browser that took one of those names to [::1] would reach another
// program listening there. A page of another site whose name has been made to resolve to
// 127.0.0.1 (DNS rebinding) sends its own name, and is not answered.
bool IsLoopbackHost(std::string_view host, int port);

}  // namespace ambrevo::pack
