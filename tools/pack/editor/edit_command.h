#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <ostream>

#include "pack/editor/edit_routes.h"
#include "pack/page/web_commands.h"

namespace ambrevo::pack {

// The source the designer edits: a folder stands for its package.toml, which may not exist
// yet (the designer then offers to make the first menu); a menu's TOML file must exist.
// Throws PackError for any other.
WebOptions EditedSource(WebOptions options);

// The designer's routes on one source, as edit and the start page serve them: its edits,
// behind routes' token (edited is set by each edit written), and its "Build disc".
ExtraRoutes DesignerRoutes(const EditRoutes& routes, std::atomic<bool>& edited,
                           const WebOptions& options);

// The designer: the page of serve with an editing layer over the running menu, whose edits
// change the menu's TOML sources in place. The address printed carries the token every edit
// needs; served, when given, is called with it (to open a browser). Returns only on a
// failure to start.
int RunEdit(const WebOptions& options, std::optional<int> port, std::ostream& out,
            std::ostream& err, std::function<void(const std::string& address)> served = {});

}  // namespace ambrevo::pack
