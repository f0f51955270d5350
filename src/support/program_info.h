#pragma once

#include <string>

namespace ambrevo {

// Process-wide facts about the running program, set once by start-up.
struct ProgramInfo {
    std::string folder;          // folder of the program file, always ending in "\"
    std::string fileName;        // the program's file name without folder
    std::string messageCaption;  // title of the program's message boxes ("Ambrevo")
};

}  // namespace ambrevo
