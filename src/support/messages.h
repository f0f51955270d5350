#pragma once

#include <string>

#include "services/debug_output.h"
#include "services/dialogs.h"

namespace ambrevo {

// Default title of a message box of this kind: "Warning", "Error" or "Information".
const char* DefaultTitle(MessageKind kind);

// Shows a modal box with one OK button, titled caption, or the kind's default
// title when caption is empty.
void ShowMessage(Dialogs& dialogs, const std::string& text, MessageKind kind,
                 const std::string& caption);

// Sends "**** " + text + " **** " to the debug output.
void DebugTrace(DebugOutput& debug, const std::string& text);

// The text of the general error report: the error's own text with a full stop
// added when its last character code is above that of ".".
std::string ErrorReportText(const std::string& errorText);

// The application's general error report: stop icon, one OK button, the current
// application title as caption.
void ReportError(Dialogs& dialogs, const std::string& applicationTitle,
                 const std::string& errorText);

}  // namespace ambrevo
