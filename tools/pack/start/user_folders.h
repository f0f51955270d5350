#pragma once

#include <filesystem>

namespace ambrevo::pack {

// The folders of the user the start page works in.
struct UserFolders {
    std::filesystem::path home;       // the folder chooser shows nothing outside it
    std::filesystem::path documents;  // where new discs go unless the author says otherwise
    std::filesystem::path config;     // the tool's own settings: the recent discs
    std::filesystem::path runtime;    // where a running start page leaves its address
};

// This user's folders: on Linux $HOME, its Documents folder (else $HOME) and
// $XDG_CONFIG_HOME/ambrevo (else ~/.config/ambrevo), and $XDG_RUNTIME_DIR/ambrevo (else the
// config folder); on Windows the profile, the Documents known folder and %APPDATA%\Ambrevo
// for both. Throws PackError when the home folder is unknown.
UserFolders ThisUsersFolders();

}  // namespace ambrevo::pack
