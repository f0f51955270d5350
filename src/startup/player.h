#pragma once

#include "accessibility/menu_accessibility.h"
#include "actions/action_dispatch.h"
#include "actions/missing_target_search.h"
#include "actions/viewer_detection.h"
#include "menu/picture_reader.h"
#include "services/shell_launcher.h"
#include "services/version_info.h"
#include "services/viewer_lookups.h"
#include "startup/program.h"
#include "startup/startup.h"
#include "ui/application.h"
#include "window/menu_window.h"

namespace ambrevo {

// The platform services only the items' actions use.
struct ActionPlatform {
    ShellLauncher& shell;
    ViewerLookups& viewerLookups;
    VersionInfoReader& versions;
};

// One run of the player: the process-wide values, the menu window, and the start-up and
// close-down around the message loop.
class Player : private StartupWindow {
public:
    // version: the program's own version texts, for the About window. reuse, when not
    // null, keeps the pictures of the menu on show for Reload.
    Player(const PlatformServices& platform, const ActionPlatform& actions, ui::Application& app,
           FileVersionInfo version, PictureReuse* reuse = nullptr);

    // The start-up sequence; false when the program must end at once.
    bool Start(const StartupInputs& inputs);
    // Runs when the menu window goes away: releases the window shape, lets the waiting
    // messages run and plays the exit sound to its end.
    void CloseDown();
    const ui::Form& MenuForm() { return window_.Form(); }
    // Reads the package again, as the program file now holds it, and shows the menu named
    // (else the first, chosen as at start), decoding only the pictures that changed: for a
    // package rebuilt while the player runs. Runs as an event: an error is reported and
    // the loop goes on. False, with nothing changed, when the package cannot be read.
    bool Reload(std::string menu, std::span<const std::string> languageCodes);
    // The package entry on show; empty before the first menu.
    const std::string& CurrentMenuName() const { return window_.CurrentMenuName(); }

private:
    void BuildWindowParts() override { window_.BuildWindowParts(); }
    void LoadMenu(const std::string& name) override { window_.LoadMenu(name); }
    void SeedRandom(std::uint32_t seed) override { window_.SeedRandom(seed); }

    ui::Application& app_;
    Program program_;
    TfrmMenuCls window_;
    MenuAccessibility accessibility_{window_};  // what screen readers are told of the items
    MissingTargetSearch search_;
    ViewerDetection viewer_;
    ActionDispatch dispatch_;  // what the window's items do
    FileVersionInfo version_;
    PictureReuse* reuse_;
};

}  // namespace ambrevo
