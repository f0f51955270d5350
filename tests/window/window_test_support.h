#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_sound_player.h"
#include "fakes/fake_text_decoder.h"
#include "fakes/headless_widgetset.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/writer/name_and_language_entries.h"
#include "pack/writer/package_writer.h"
#include "window/menu_window.h"

namespace ambrevo::testing {

constexpr auto kNormal = PictureSet::Normal;
constexpr auto kHighlighted = PictureSet::Highlighted;
constexpr auto kPressed = PictureSet::Pressed;
constexpr auto kDescription = PictureSet::Description;

// Every test picture is one colour that names its slot, so a test can tell which
// picture a control shows.
constexpr std::uint32_t PictureId(int record, PictureSet set, int frame) {
    return static_cast<std::uint32_t>(record * 10000 + static_cast<int>(set) * 1000 + frame + 1);
}

inline std::shared_ptr<const Bitmap> Solid(int width, int height, std::uint32_t color) {
    return std::make_shared<Bitmap>(
        Bitmap{width, height, Pixels(static_cast<std::size_t>(width) * height, color)});
}

// The slot id of the picture a control shows; 0 for none.
inline std::uint32_t ShownId(const ui::Picture* picture) {
    return picture && picture->Image() && !picture->Image()->Empty() ? picture->Image()->pixels[0]
                                                                     : 0;
}

// Frames 0..lastFrame of one set of a record, 4 x 3 pixels each.
inline void AddFrames(MenuDefinition& menu, int record, PictureSet set, int lastFrame) {
    for (int frame = 0; frame <= lastFrame; ++frame) {
        menu.pictures.StorePicture(record, static_cast<int>(set), frame,
                                   Solid(4, 3, PictureId(record, set, frame)));
    }
}

// A menu of picture items over a width x height background; item i sits at (20 i, 10)
// with a Normal frame 0, its caption "Item i" and description "About i".
inline MenuDefinition PictureMenu(int items, int width = 300, int height = 200) {
    MenuDefinition menu;
    menu.title = "Menu";
    menu.defaultDescription = "Choose";
    menu.descriptionBounds = {40, 120, 120, 45};
    menu.animationInterval = 100;
    menu.pictures.StorePicture(0, 0, 0, Solid(width, height, PictureId(0, PictureSet::Normal, 0)));
    for (int n = 1; n <= items; ++n) {
        MenuItem item;
        item.left = 20 * n;
        item.top = 10;
        item.caption = "Item " + std::to_string(n);
        item.description = "About " + std::to_string(n);
        item.shortcutKey = std::to_string(n % 10);
        item.width = 80;
        item.height = 24;
        menu.items.push_back(item);
        AddFrames(menu, n, PictureSet::Normal, 0);
    }
    return menu;
}

// Readable failure messages for recorded message boxes.
inline void PrintTo(const FakeDialogs::Shown& shown, std::ostream* out) {
    *out << "{\"" << shown.text << "\", kind " << static_cast<int>(shown.kind) << ", \""
         << shown.title << "\"}";
}

// Message boxes, each with whether the menu window was visible when it came.
class WindowDialogs : public FakeDialogs {
public:
    void ShowMessageBox(const std::string& text, MessageKind kind,
                        const std::string& title) override {
        FakeDialogs::ShowMessageBox(text, kind, title);
        windowVisible.push_back(form != nullptr && form->Visible());
    }
    const ui::Form* form = nullptr;
    std::vector<bool> windowVisible;
};

// A menu window with its fixed parts on the headless widgetset, reading its menus from a
// package in a program file held in memory.
class WindowTest : public ::testing::Test {
protected:
    WindowTest() {
        widgets_.Attach(app_);
        sounds_.LoadBuiltInSounds(resources_);
        window_.BuildWindowParts();
        window_.SeedRandom(clock_.seed);
        dialogs_.form = &window_.Form();
    }

    // Writes the program file with these menus as its package and opens the package.
    void InstallMenus(const std::vector<std::pair<std::string, MenuDefinition>>& menus,
                      int version = pack::kLatestMenuVersion) {
        std::vector<pack::PackageEntryData> entries;
        std::vector<ItemName> itemNames;
        for (const auto& [name, menu] : menus) {
            entries.push_back({name, pack::WriteMenuBody(menu, version)});
            pack::CollectItemNames(name, menu, itemNames);
        }
        if (auto table = pack::ItemNameEntry(itemNames)) entries.push_back(std::move(*table));
        InstallEntries(entries);
    }
    void InstallEntries(const std::vector<pack::PackageEntryData>& entries) {
        const std::vector<std::uint8_t> player(16, 0x90);
        const auto file = pack::WritePackage(player, entries);
        files_.AddFile(program_.folder + program_.fileName, std::string(file.begin(), file.end()));
        package_.OpenPackage(program_.fileName);
    }
    // Installs the one menu "main.mnu" and loads it.
    void Load(const MenuDefinition& menu, int version = pack::kLatestMenuVersion) {
        InstallMenus({{"main.mnu", menu}}, version);
        window_.LoadMenu("main.mnu");
    }

    ui::Form& Form() { return window_.Form(); }
    const ItemControls& Item(int n) const { return window_.ControlsOf(n); }
    ui::Control* Find(const std::string& name) { return Form().FindControl(name); }

    ProgramInfo program_{"E:\\disc\\", "setup.exe", "Ambrevo"};
    FakeFileSystem files_;
    WindowDialogs dialogs_;
    FakeDebugOutput debug_;
    FakeClock clock_;
    LoadError loadError_;
    MenuPackage package_{files_, dialogs_, program_, loadError_};
    HeadlessWidgetset widgets_;
    ui::Application app_{widgets_, dialogs_};
    FakeSoundPlayer soundPlayer_;
    FakeProgramResources resources_;
    SoundEffects sounds_{soundPlayer_, files_, program_, [this] { app_.ProcessMessages(); }};
    FakeTextDecoder text_;
    TfrmMenuCls window_{app_, {package_, program_, dialogs_, debug_, clock_, &text_}, sounds_};
};

}  // namespace ambrevo::testing
