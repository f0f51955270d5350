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
    class NoClock : public Clock {
        Date Today() override { return {}; }
        std::string LongTimeText() override { return {}; }
        std::string ShortDateText() override { return {}; }
        std::uint32_t Seed() override { return 0; }
    } clock;
    Program program({files, dialogs, icon, debug, clock});

    // Until the menu window is wired in, the first menu's name is traced.
    class TracingWindow : public StartupWindow {
    public:
        explicit TracingWindow(DebugOutput& debug) : debug_(debug) {}
        void BuildWindowParts() override {}
        void LoadMenu(const std::string& name) override { DebugTrace(debug_, "First menu: " + name); }
        void SeedRandom(std::uint32_t) override {}

    private:
        DebugOutput& debug_;
    } window(debug);
    return RunStartup(program, {ProgramPath(), FirstArgument()}, window) ? 0 : 1;
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
