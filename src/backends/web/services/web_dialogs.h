#pragma once

#include <string>

#include "services/dialogs.h"

namespace ambrevo::web {

// In-page message boxes: the call waits, yielding to the browser, until the user closes it.
class WebDialogs : public Dialogs {
public:
    void ShowMessageBox(const std::string& text, MessageKind kind,
                        const std::string& title) override;
};

}  // namespace ambrevo::web
