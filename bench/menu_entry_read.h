#pragma once

#include <string>

#include "menu/menu_model.h"
#include "package/package.h"
#include "services/debug_output.h"
#include "services/dialogs.h"
#include "support/program_info.h"

namespace ambrevo::bench {

// Reads the menu of one package entry as the menu load's format reading does, with no
// window: opens the package's stream, seeks the entry, reads its body into `menu` and
// closes the stream. True when the menu was read.
bool ReadEntryMenu(MenuPackage& package, const ProgramInfo& program, const std::string& entry,
                   Dialogs& dialogs, DebugOutput& debug, MenuDefinition& menu);

}  // namespace ambrevo::bench
