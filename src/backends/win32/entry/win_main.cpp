// Program entry of the player.

#include <windows.h>

#include <exception>

#include "backends/win32/entry/error_mode.h"
#include "backends/win32/services/win32_application_icon.h"
#include "backends/win32/services/win32_clock.h"
#include "backends/win32/services/win32_debug_output.h"
#include "backends/win32/services/win32_dialogs.h"
#include "backends/win32/services/win32_file_system.h"
#include "backends/win32/services/win32_program_resources.h"
#include "backends/win32/services/win32_shell_launcher.h"
#include "backends/win32/services/win32_sound_player.h"
#include "backends/win32/services/win32_text_decoder.h"
#include "backends/win32/services/win32_version_info.h"
#include "backends/win32/services/win32_viewer_lookups.h"
#include "backends/win32/system/com_apartment.h"
#include "backends/win32/system/program_path.h"
#include "backends/win32/system/system_libraries.h"
#include "backends/win32/system/ui_languages.h"
#include "backends/win32/widgetset/win32_widgetset.h"
// <windows.h> renames LoadMenu to LoadMenuA, which would miss the menu window's own.
#undef LoadMenu
#include "startup/player.h"
#include "support/messages.h"
#include "support/queued_debug_output.h"
#include "ui/application.h"

namespace ambrevo::win32 {
namespace {

// The program's own version texts, for the About window.
FileVersionInfo OwnVersion(const std::string& programPath) {
    Win32VersionInfoReader reader;
    return reader.Read(programPath).value_or(FileVersionInfo{kApplicationTitle, "", "", "", {}});
}

// Runs the player from start-up through the message loop to close-down. Exit code 1
// tells a calling script that no menu could be shown.
int RunPlayer(HINSTANCE instance, Dialogs& dialogs) {
    Win32FileSystem files;
    Win32ApplicationIcon icon(instance);
    // The debugger channel from a thread of its own: under Wine each line costs tens of
    // microseconds, and a menu load writes one per picture. Sent in order, all by the end.
    Win32DebugOutput debugChannel;
    QueuedDebugOutput debug(debugChannel);
    Win32Clock clock;
    Win32SoundPlayer sound;
    Win32ProgramResources resources(instance);
    Win32Widgetset widgets(instance, icon.Get());
    icon.onChanged = [&widgets](HICON changed) { widgets.SetIcon(changed); };
    ui::Application app(widgets, dialogs);
    widgets.Attach(app);
    app.SetTitle(kApplicationTitle);

    // The shell's own windows belong to the menu window, once there is one.
    const ui::Form* menuForm = nullptr;
    Win32ShellLauncher shell([&] { return menuForm ? widgets.WindowOf(*menuForm) : nullptr; });
    Win32ViewerLookups viewerLookups;
    Win32VersionInfoReader versions;

    const std::string programPath = ProgramPath();
    RequireUsableProgramPath(programPath);
    Win32TextDecoder text;
    Player player({files, dialogs, icon, debug, clock, files, sound, resources, text},
                  {shell, viewerLookups, versions}, app, OwnVersion(programPath));
    menuForm = &player.MenuForm();
    const bool started =
        player.Start({programPath, FirstArgument(), UserInterfaceLanguageCodes()}) &&
        !app.Terminated();
    if (started) app.Run();
    player.CloseDown();
    return started ? 0 : 1;
}

}  // namespace
}  // namespace ambrevo::win32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace ambrevo;
    win32::RestrictDllSearch();
    win32::ReportCriticalErrorsAsFailures();
    // The thread's COM, entered at the first launch and left after the last message box.
    const win32::ComApartment com;
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
