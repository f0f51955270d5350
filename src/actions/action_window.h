#pragma once

#include <memory>
#include <string>

#include "menu/menu_model.h"
#include "services/shell_launcher.h"

namespace ambrevo {

// What the actions need of the menu window.
class ActionWindow {
public:
    virtual ~ActionWindow() = default;
    // Item n of the menu on show; null when there is no such item.
    virtual const MenuItem* ItemAt(int n) const = 0;
    // The name under which the menu on show was asked for.
    virtual const std::string& CurrentMenuName() const = 0;
    // Replaces the menu on show by the package entry name.
    virtual void LoadMenu(const std::string& name) = 0;
    virtual void Hide() = 0;
    virtual void SetEnabled(bool enabled) = 0;
    // Ends the program once more a little later, should the first request not end it.
    virtual void StartExitTimer() = 0;
    // Restores the menu once process has ended (at once when there is none); a newer
    // watch replaces the older one.
    virtual void WatchProcess(std::unique_ptr<LaunchedProcess> process) = 0;
};

}  // namespace ambrevo
