#include "backends/win32/services/win32_dialogs.h"

#include <windows.h>

#include "backends/win32/system/wide_text.h"

namespace ambrevo::win32 {
namespace {

UINT IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return MB_ICONEXCLAMATION;
        case MessageKind::Error:
            return MB_ICONHAND;
        case MessageKind::Information:
            return MB_ICONINFORMATION;
    }
    return 0;
}

}  // namespace

void Win32Dialogs::ShowMessageBox(const std::string& text, MessageKind kind,
                                  const std::string& title) {
    // Without an owner window the box is centred on the screen.
    ::MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(),
                  MB_OK | IconOf(kind) | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace ambrevo::win32
