#include "backends/web/services/web_debug_output.h"

#include "backends/web/bridge/web_host.h"

namespace ambrevo::web {

void WebDebugOutput::Write(const std::string& text) {
    pending_ += text;
    pending_ += '\n';
}

void WebDebugOutput::Flush() {
    if (pending_.empty()) return;
    pending_.pop_back();  // the console ends the message itself
    ambrevo_host_debug(pending_.data(), pending_.size());
    pending_.clear();
}

}  // namespace ambrevo::web
