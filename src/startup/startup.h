#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "startup/program.h"

namespace ambrevo {

// What the platform tells the program when it starts.
struct StartupInputs {
    std::string programPath;    // full path of the program file
    std::string firstArgument;  // first command-line argument, empty when there is none
    // The user's languages, most preferred first, as ISO 639-1 codes ("de"): they choose
    // the first menu when the package names one per language.
    std::vector<std::string> languageCodes;
};

// The menu window as start-up drives it.
class StartupWindow {
public:
    virtual ~StartupWindow() = default;
    virtual void BuildWindowParts() = 0;
    // Shows the menu, or ends the program when it cannot be read.
    virtual void LoadMenu(const std::string& name) = 0;
    virtual void SeedRandom(std::uint32_t seed) = 0;
};

// Runs the start-up sequence: program folder, file name and message caption, the icon beside
// the program, the built-in sounds, the package directory, the window's fixed parts, the
// "err.txt" switches, the first menu (named by the argument, else the package's menu for
// the user's language, else its first entry),
// the start sound, and the random seed.
// Returns false when the program must end instead: after "Error in loading internal
// menu." for a package that cannot be read, or after the general error report of an
// unexpected error, rather than leave a window without a menu.
bool RunStartup(Program& program, const StartupInputs& inputs, StartupWindow& window);

}  // namespace ambrevo
