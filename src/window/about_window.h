#pragma once

#include "services/version_info.h"
#include "ui/application.h"

namespace ambrevo {

// The About window: the product name, the program's version texts and its icon. Each
// Open makes a new, modeless window that closes itself.
class TfrmAboutCls {
public:
    static ui::Form& Open(ui::Application& app, const FileVersionInfo& version);
};

}  // namespace ambrevo
