#pragma once

#include <optional>
#include <string>

#include "startup/program.h"

namespace ambrevo {

// What the platform tells the program when it starts.
struct StartupInputs {
    std::string programPath;    // full path of the program file
    std::string firstArgument;  // first command-line argument, empty when there is none
};

// Runs the start-up sequence: program folder, file name and message caption, the icon
// beside the program, the package directory, the "err.txt" switches, and the choice of the
// first menu, whose name it returns. Returns nothing when the program must end instead:
// after "Error in loading internal menu." for a package that cannot be read, or after the
// general error report of an unexpected error, since no window exists yet to stay open.
std::optional<std::string> RunStartup(Program& program, const StartupInputs& inputs);

}  // namespace ambrevo
