#pragma once

#include <string>
#include <string_view>

#include "actions/target_paths.h"  // FileNamePart

namespace ambrevo {

// The folder part of the program's full path, always ending in "\".
std::string ProgramFolderOf(std::string_view programPath);

// The icon file looked for beside the program: its file name without the extension
// (from the last "." on; a name without "." is taken whole) plus ".ico".
std::string IconFileName(std::string_view programFileName);

}  // namespace ambrevo
