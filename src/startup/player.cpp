#include "startup/player.h"

#include <span>
#include <utility>

#include "startup/first_menu.h"
#include "window/about_window.h"

namespace ambrevo {

Player::Player(const PlatformServices& platform, const ActionPlatform& actions,
               ui::Application& app, FileVersionInfo version, PictureReuse* reuse)
    : app_(app),
      program_(platform, [&app] { app.ProcessMessages(); }),
      window_(app,
              {program_.package, program_.info, platform.dialogs, platform.debug, platform.clock,
               &platform.text, reuse},
              program_.sounds),
      search_(platform.finder, app, program_.info),
      viewer_(actions.viewerLookups, platform.finder, actions.versions, program_.info),
      dispatch_({app, platform.dialogs, program_.info, program_.switches, program_.package,
                 program_.sounds, actions.shell, platform.debug, platform.finder, search_, viewer_},
                window_),
      version_(std::move(version)),
      reuse_(reuse) {
    window_.onAbout = [this] { TfrmAboutCls::Open(app_, version_); };
    window_.Form().onClose = [this](ui::Form&) { app_.Terminate(); };
    window_.SetItemLauncher(&dispatch_);
}

bool Player::Start(const StartupInputs& inputs) { return RunStartup(program_, inputs, *this); }

bool Player::Reload(std::string menu, std::span<const std::string> languageCodes) {
    MenuPackage& package = program_.package;
    package.OpenPackage(program_.info.fileName);
    if (program_.loadError.IsSet()) return false;
    if (!package.HasEntry(menu)) menu.clear();
    if (reuse_) reuse_->ReuseForNextLoad();
    app_.Dispatch([&] {
        window_.LoadMenu(
            ChooseFirstMenuName(menu, package.Directory(), package.Languages(), languageCodes));
    });
    return true;
}

void Player::CloseDown() {
    try {
        window_.ReleaseRegion();
    } catch (...) {
        // Releasing the shape may fail while the window goes; nothing depends on it.
    }
    app_.ProcessMessages();
    program_.sounds.PlayExitSound();
}

}  // namespace ambrevo
