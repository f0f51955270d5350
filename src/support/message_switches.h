#pragma once

#include <string>
#include <string_view>

#include "services/file_system.h"

namespace ambrevo {

// Two action messages that "err.txt" beside the program can switch off.
struct MessageSwitches {
    bool showFileNotFoundMessage = true;  // line 1 of "err.txt"
    bool showNoViewerMessage = true;      // line 2 of "err.txt"
};

// Converts one line of "err.txt", ignoring blanks around it: a number (integer or decimal)
// is false when zero; "True" or "False" in any letter case gives true or false.
// Anything else, an empty line included, throws AppError
// "'<line>' is not a valid boolean value".
bool ParseBooleanLine(std::string_view line);

// Sets both switches on, then, when programFolder + "err.txt" exists, reads its lines 1 to 3
// (line 3 is checked and ignored). A bad or missing line throws AppError; the switches
// read before it keep their new values.
void ReadMessageSwitches(FileSystem& files, const std::string& programFolder,
                         MessageSwitches& switches);

}  // namespace ambrevo
