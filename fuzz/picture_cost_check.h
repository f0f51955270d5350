#pragma once

#include <string>

#include "package/package.h"
#include "services/debug_output.h"
#include "services/dialogs.h"
#include "support/program_info.h"

namespace ambrevo::fuzzing {

// Reads the picture records of the menu entry name one at a time and aborts (a finding)
// when a record allocates more than the picture it gives, which for a record that the
// table drops is nothing; the decoder's fixed buffers are allowed on top. Allocations are
// counted through the sanitizer's malloc hooks, so this needs a sanitizer build.
void CheckPictureCosts(MenuPackage& package, const ProgramInfo& program, Dialogs& dialogs,
                       DebugOutput& debug, const std::string& name);

}  // namespace ambrevo::fuzzing
