#include "backends/web/services/web_dialogs.h"

#include "backends/web/bridge/web_host.h"

namespace ambrevo::web {

void WebDialogs::ShowMessageBox(const std::string& text, MessageKind kind,
                                const std::string& title) {
    ambrevo_host_message_box(text.data(), text.size(), title.data(), title.size(),
                             static_cast<int>(kind));
    while (ambrevo_host_message_box_open()) YieldToBrowser(16);
}

}  // namespace ambrevo::web
