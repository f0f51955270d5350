#pragma once

#include <optional>
#include <ostream>

#include "pack/page/web_commands.h"

namespace ambrevo::pack {

// The designer: the page of serve with an editing layer over the running menu, whose edits
// change the menu's TOML sources in place. The address printed carries the token every edit
// needs. Returns only on a failure to start.
int RunEdit(const WebOptions& options, std::optional<int> port, std::ostream& out,
            std::ostream& err);

}  // namespace ambrevo::pack
