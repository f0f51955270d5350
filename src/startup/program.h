#pragma once

#include "package/load_error.h"
#include "package/package.h"
#include "platform/application_icon.h"
#include "platform/clock.h"
#include "platform/debug_output.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "support/message_switches.h"
#include "support/program_info.h"

namespace ambrevo {

// The title of the application, and so of the program's message boxes.
inline constexpr char kApplicationTitle[] = "Ambrevo";

// The platform services a run uses.
struct PlatformServices {
    FileSystem& files;
    Dialogs& dialogs;
    ApplicationIcon& icon;
    DebugOutput& debug;
    Clock& clock;
};

// The process-wide values of one run: created empty, filled by start-up, then passed to
// whatever needs them. Not copyable, because the package refers to its siblings.
struct Program {
    explicit Program(const PlatformServices& platform)
        : services(platform), package(platform.files, platform.dialogs, info, loadError) {}
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    const PlatformServices services;
    ProgramInfo info;
    LoadError loadError;
    MessageSwitches switches;
    MenuPackage package;  // reads through info and loadError
};

}  // namespace ambrevo
