// Arbitrary bytes as the program file: the package reader, then every menu entry it
// lists loaded one after another into the menu window on the headless widgetset of a
// 192-DPI screen (so the pictures for denser screens are read as well), each
// animated, hovered and ticked a little, and its picture records read once more one at a
// time, none of which may allocate more than the picture it gives. Nothing may crash,
// leak or hang; damaged pictures end a load with an AppError, as in the player.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/fake_clock.h"
#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_sound_player.h"
#include "fakes/headless_widgetset.h"
#include "package/package.h"
#include "picture_cost_check.h"
#include "support/app_error.h"
#include "window/menu_window.h"

namespace {

// What a user can do to a menu without launching anything: wait, and point at items.
void UseMenu(ambrevo::HeadlessWidgetset& widgets, ambrevo::TfrmMenuCls& window) {
    for (int n = 1; n <= window.ItemCount() && n <= 3; ++n) {
        if (ambrevo::ui::Picture* picture = window.ControlsOf(n).picture) {
            widgets.MouseMove(*picture, 1, 1);
        }
    }
    widgets.Advance(1000);  // the clock, a few animation steps and title scrolls
    widgets.MouseMove(*window.Parts().background, 0, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ambrevo;
    const ProgramInfo program{"E:\\", "setup.exe", "Ambrevo"};
    testing::FakeFileSystem files;
    files.AddFile(program.folder + program.fileName,
                  std::string(reinterpret_cast<const char*>(data), size));
    testing::FakeDialogs dialogs;
    testing::FakeDebugOutput debug;
    testing::FakeClock clock;
    LoadError loadError;
    MenuPackage package(files, dialogs, program, loadError);

    package.OpenPackage(program.fileName);
    if (loadError.IsSet()) return 0;

    HeadlessWidgetset widgets;
    widgets.SetDpi(192);  // a dense screen: the pictures for it are read too
    ui::Application app(widgets, dialogs);
    widgets.Attach(app);
    testing::FakeSoundPlayer soundPlayer;
    SoundEffects sounds(soundPlayer, files, program, [&app] { app.ProcessMessages(); });
    TfrmMenuCls window(app, {package, program, dialogs, debug, clock}, sounds);
    window.BuildWindowParts();
    for (const PackageEntry& entry : package.Directory()) {
        if (entry.name.empty()) break;
        // Each menu is read even when an earlier one left the load error set.
        loadError.Clear();
        widgets.Dispatch([&] { window.LoadMenu(entry.name); });
        UseMenu(widgets, window);
        fuzzing::CheckPictureCosts(package, program, dialogs, debug, entry.name);
    }
    return 0;
}
