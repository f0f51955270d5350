#pragma once

#include <functional>
#include <utility>

#include "package/load_error.h"
#include "package/package.h"
#include "services/application_icon.h"
#include "services/clock.h"
#include "services/debug_output.h"
#include "services/dialogs.h"
#include "services/file_finder.h"
#include "services/file_system.h"
#include "services/sound_player.h"
#include "services/text_decoder.h"
#include "support/message_switches.h"
#include "support/program_info.h"
#include "support/sound_effects.h"

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
    FileFinder& finder;
    SoundPlayer& sound;
    ProgramResources& resources;  // the program's own, with the built-in sounds
    TextDecoder& text;            // menu texts into UTF-8
};

// The process-wide values of one run: created empty, filled by start-up, then passed to
// whatever needs them. Not copyable, because the package and the sounds refer to their
// siblings. processMessages lets the window system run waiting messages.
struct Program {
    Program(const PlatformServices& platform, std::function<void()> processMessages)
        : services(platform),
          package(platform.files, platform.dialogs, info, loadError),
          sounds(platform.sound, platform.finder, info, std::move(processMessages)) {}
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    const PlatformServices services;
    ProgramInfo info;
    LoadError loadError;
    MessageSwitches switches;
    MenuPackage package;  // reads through info and loadError
    SoundEffects sounds;  // looks for its files in info.folder
};

}  // namespace ambrevo
