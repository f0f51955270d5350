#pragma once

#include "platform/version_info.h"
#include "startup/program.h"
#include "startup/startup.h"
#include "ui/application.h"
#include "window/menu_window.h"

namespace ambrevo {

// One run of the player: the process-wide values, the menu window, and the start-up and
// close-down around the message loop.
class Player : private StartupWindow {
public:
    // version: the program's own version texts, for the About window.
    Player(const PlatformServices& platform, ui::Application& app, FileVersionInfo version);

    // The start-up sequence; false when the program must end at once.
    bool Start(const StartupInputs& inputs);
    // Runs when the menu window goes away: releases the window shape and lets the
    // waiting messages run.
    void CloseDown();

private:
    void BuildWindowParts() override { window_.BuildWindowParts(); }
    void LoadMenu(const std::string& name) override { window_.LoadMenu(name); }
    void SeedRandom(std::uint32_t seed) override { window_.SeedRandom(seed); }

    ui::Application& app_;
    Program program_;
    TfrmMenuCls window_;
    FileVersionInfo version_;
};

}  // namespace ambrevo
