// Program entry of the player.

#include <windows.h>

#include <exception>

#include "platform/win32/program_path.h"
#include "platform/win32/win32_application_icon.h"
#include "platform/win32/win32_debug_output.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_file_system.h"
#include "startup/startup.h"
#include "support/messages.h"

namespace ambrevo::win32 {
namespace {

// Runs start-up and reports the menu it chose. Until the menu window exists the run ends
// there; exit code 1 tells a calling script that start-up failed.
int RunPlayer(HINSTANCE instance, Dialogs& dialogs) {
    Win32FileSystem files;
    Win32ApplicationIcon icon(instance);
    Win32DebugOutput debug;
    Program program({files, dialogs, icon});

    const auto firstMenu = RunStartup(program, {ProgramPath(), FirstArgument()});
    if (!firstMenu) return 1;
    DebugTrace(debug, "First menu: " + *firstMenu);
    return 0;
}

}  // namespace
}  // namespace ambrevo::win32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace ambrevo;
    win32::Win32Dialogs dialogs;
    // The boundary: nothing thrown may leave the program unreported.
    try {
        return win32::RunPlayer(instance, dialogs);
    } catch (const std::exception& error) {
        ReportError(dialogs, kApplicationTitle, error.what());
    } catch (...) {
        ReportError(dialogs, kApplicationTitle, "Unexpected error");
    }
    return 1;
}
