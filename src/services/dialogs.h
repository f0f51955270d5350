#pragma once

#include <string>

namespace ambrevo {

// Kind of a message box: decides its icon and its default title.
enum class MessageKind { Warning, Error, Information };

// Modal message boxes.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a modal box with the kind's icon, the title and one OK button; returns when closed.
    virtual void ShowMessageBox(const std::string& text, MessageKind kind,
                                const std::string& title) = 0;
};

}  // namespace ambrevo
