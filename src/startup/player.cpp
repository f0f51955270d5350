#include "startup/player.h"

#include <utility>

#include "window/about_window.h"

namespace ambrevo {

Player::Player(const PlatformServices& platform, ui::Application& app, FileVersionInfo version)
    : app_(app),
      program_(platform),
      window_(app,
              {program_.package, program_.info, platform.dialogs, platform.debug, platform.clock}),
      version_(std::move(version)) {
    window_.onAbout = [this] { TfrmAboutCls::Open(app_, version_); };
    window_.Form().onClose = [this](ui::Form&) { app_.Terminate(); };
}

bool Player::Start(const StartupInputs& inputs) { return RunStartup(program_, inputs, *this); }

void Player::CloseDown() {
    try {
        window_.ReleaseRegion();
    } catch (...) {
        // Releasing the shape may fail while the window goes; nothing depends on it.
    }
    app_.ProcessMessages();
}

}  // namespace ambrevo
