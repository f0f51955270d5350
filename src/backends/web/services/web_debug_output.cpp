#include "backends/web/services/web_debug_output.h"

#include "backends/web/bridge/web_host.h"

namespace ambrevo::web {

void WebDebugOutput::Write(const std::string& text) {
    ambrevo_host_debug(text.data(), text.size());
}

}  // namespace ambrevo::web
