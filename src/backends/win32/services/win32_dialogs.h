#pragma once

#include "services/dialogs.h"

namespace ambrevo::win32 {

// Message boxes through MessageBoxA: centred on the screen, one OK button, modal to the task.
class Win32Dialogs : public Dialogs {
public:
    void ShowMessageBox(const std::string& text, MessageKind kind,
                        const std::string& title) override;
};

}  // namespace ambrevo::win32
