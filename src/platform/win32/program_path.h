#pragma once

#include <string>

namespace ambrevo::win32 {

// The full path of the running program file.
std::string ProgramPath();

// The first command-line argument as the C runtime split it (double quotes group blanks
// and are removed); empty when there is none.
std::string FirstArgument();

}  // namespace ambrevo::win32
