#pragma once

#include <string>

namespace ambrevo::win32 {

// The full path of the running program file.
std::string ProgramPath();

// Throws AppError when the program's path is too long for the ANSI file calls, which
// would then fail on every file beside it.
void RequireUsableProgramPath(const std::string& path);

// The first command-line argument as the C runtime split it (double quotes group blanks
// and are removed); empty when there is none.
std::string FirstArgument();

}  // namespace ambrevo::win32
