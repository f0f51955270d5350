#include "support/messages.h"

namespace ambrevo {

const char* DefaultTitle(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return "Warning";
        case MessageKind::Error:
            return "Error";
        case MessageKind::Information:
            return "Information";
    }
    return "";
}

void ShowMessage(Dialogs& dialogs, const std::string& text, MessageKind kind,
                 const std::string& caption) {
    dialogs.ShowMessageBox(text, kind, caption.empty() ? DefaultTitle(kind) : caption);
}

void DebugTrace(DebugOutput& debug, const std::string& text) {
    debug.Write("**** " + text + " **** ");
}

std::string ErrorReportText(const std::string& errorText) {
    // Character codes compare as unsigned bytes: letters and digits get a full stop,
    // a text already ending in "." or "!" does not.
    if (!errorText.empty() && static_cast<unsigned char>(errorText.back()) > '.') {
        return errorText + ".";
    }
    return errorText;
}

void ReportError(Dialogs& dialogs, const std::string& applicationTitle,
                 const std::string& errorText) {
    ShowMessage(dialogs, ErrorReportText(errorText), MessageKind::Error, applicationTitle);
}

}  // namespace ambrevo
