// The menu window on the headless widgetset: one animation tick over a 100-item menu
// whose items all loop through 8 frames (target: under 5 us per item per tick), beside its
// floor, the same frames set on plain picture controls; and 1,000 menu loads switching
// between two menus, with the heap's live allocations counted before and after (target:
// no growth), beside their floor, the same two menus read from the package with no window.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_sound_player.h"
#include "fakes/headless_widgetset.h"
#include "floor_line.h"
#include "heap_counter.h"
#include "menu_entry_read.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/writer/package_writer.h"
#include "package/memory_file.h"
#include "window/menu_window.h"

namespace ambrevo {
namespace {

constexpr int kItems = 100;
constexpr int kLastFrame = 7;
constexpr int kSwitches = 1000;
constexpr double kTargetMicrosecondsPerItem = 5.0;

// The program file, opened without recording anything, so a load leaves nothing behind.
class ProgramFile : public FileSystem {
public:
    explicit ProgramFile(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}
    std::unique_ptr<ReadOnlyFile> OpenForReading(const std::string&) override {
        return std::make_unique<MemoryFile>(bytes_);
    }
    bool FileExists(const std::string&) override { return true; }

private:
    std::shared_ptr<const std::string> bytes_;
};

class NoDebugOutput : public DebugOutput {
public:
    void Write(const std::string&) override {}
};

std::shared_ptr<const Bitmap> Picture(int width, int height, std::uint32_t color) {
    return std::make_shared<Bitmap>(
        Bitmap{width, height, Pixels(static_cast<std::size_t>(width) * height, color)});
}

// items picture items in a 10 x 10 grid, each looping through frames 0..kLastFrame.
MenuDefinition AnimatedMenu(const std::string& title, int items) {
    MenuDefinition menu;
    menu.title = title;
    menu.animationInterval = 100;
    menu.pictures.StorePicture(0, 0, 0, Picture(640, 480, 0x203040));
    for (int n = 1; n <= items; ++n) {
        MenuItem item;
        item.left = (n - 1) % 10 * 60;
        item.top = (n - 1) / 10 * 45;
        item.caption = "Item " + std::to_string(n);
        item.description = "About item " + std::to_string(n);
        item.animationMode = 3;
        menu.items.push_back(item);
        for (int frame = 0; frame <= kLastFrame; ++frame) {
            menu.pictures.StorePicture(n, 0, frame, Picture(48, 36, n * 100 + frame));
        }
    }
    return menu;
}

// A program holding a package of the two menus.
std::shared_ptr<const std::string> TwoMenuProgram() {
    const std::vector<pack::PackageEntryData> entries{
        {"big.mnu", pack::WriteMenuBody(AnimatedMenu("Big", kItems), 7)},
        {"small.mnu", pack::WriteMenuBody(AnimatedMenu("Small", kItems / 2), 7)},
    };
    const auto file = pack::WritePackage(std::vector<std::uint8_t>(4096, 0x90), entries);
    return std::make_shared<const std::string>(file.begin(), file.end());
}

// A menu window with its fixed parts over a package of the two menus.
class Player {
public:
    Player() {
        files_ = std::make_unique<ProgramFile>(TwoMenuProgram());
        package_ = std::make_unique<MenuPackage>(*files_, dialogs_, program_, loadError_);
        package_->OpenPackage(program_.fileName);
        widgets_.Attach(app_);
        window_ = std::make_unique<TfrmMenuCls>(
            app_, MenuLoadServices{*package_, program_, dialogs_, debug_, clock_}, sounds_);
        window_->BuildWindowParts();
    }

    TfrmMenuCls& Window() { return *window_; }
    ui::Application& App() { return app_; }
    bool Failed() const { return !dialogs_.shown.empty() || loadError_.IsSet(); }

private:
    ProgramInfo program_{"C:\\disc\\", "setup.exe", "Ambrevo"};
    std::unique_ptr<ProgramFile> files_;
    testing::FakeDialogs dialogs_;
    NoDebugOutput debug_;
    testing::FakeClock clock_;
    LoadError loadError_;
    std::unique_ptr<MenuPackage> package_;
    HeadlessWidgetset widgets_;
    ui::Application app_{widgets_, dialogs_};
    // No sound files and no built-in clips: highlights play nothing.
    testing::FakeFileSystem noFiles_;
    testing::FakeSoundPlayer soundPlayer_;
    SoundEffects sounds_{soundPlayer_, noFiles_, program_, [this] { app_.ProcessMessages(); }};
    std::unique_ptr<TfrmMenuCls> window_;
};

void BM_AnimateItems(benchmark::State& state) {
    Player player;
    TfrmMenuCls& window = player.Window();
    window.LoadMenu("big.mnu");
    if (player.Failed() || window.ItemCount() != kItems) {
        state.SkipWithError("the menu did not load");
        return;
    }
    for (auto _ : state) window.AnimateItems();
    // Looping from frame 0, every item stands on frame (ticks mod frames).
    if (window.StateOf(kItems).position.frame != state.iterations() % (kLastFrame + 1)) {
        state.SkipWithError("the items did not animate");
        return;
    }
    state.counters["per_item"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kItems,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AnimateItems);

// The tick's floor: each item's next frame set on a plain picture control at the item's
// place, on a form as visible as the menu window, with no animation state or rules.
void BM_SetItemPictures(benchmark::State& state) {
    Player player;
    player.Window().LoadMenu("big.mnu");
    ui::Form& form = player.App().CreateForm("Floor", ui::FormStyle::Borderless);
    form.SetBounds(player.Window().Form().Bounds());
    form.SetVisible(player.Window().Form().Visible());
    const MenuDefinition menu = AnimatedMenu("Floor", kItems);
    std::vector<ui::Picture*> pictures;
    for (int n = 1; n <= kItems; ++n) {
        ui::Picture& picture = form.AddPicture("Picture" + std::to_string(n));
        const MenuItem& item = menu.items[static_cast<std::size_t>(n - 1)];
        picture.SetBounds({item.left, item.top, 48, 36});
        pictures.push_back(&picture);
    }
    int frame = 0;
    for (auto _ : state) {
        frame = frame == kLastFrame ? 0 : frame + 1;
        for (int n = 1; n <= kItems; ++n) {
            pictures[static_cast<std::size_t>(n - 1)]->SetImage(menu.pictures.Picture(n, 0, frame));
        }
    }
    state.counters["per_item"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kItems,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    player.App().DestroyForm(form);
}
BENCHMARK(BM_SetItemPictures);

void BM_SwitchMenus(benchmark::State& state) {
    Player player;
    TfrmMenuCls& window = player.Window();
    // One round first, so that every lasting structure (names, records) exists.
    window.LoadMenu("big.mnu");
    window.LoadMenu("small.mnu");
    const long long before = heap_counter::LiveBlocks();
    for (auto _ : state) {
        window.LoadMenu("big.mnu");
        window.LoadMenu("small.mnu");
    }
    const long long growth = heap_counter::LiveBlocks() - before;
    if (player.Failed() || window.ItemCount() != kItems / 2) {
        state.SkipWithError("a menu did not load");
        return;
    }
    state.counters["live_blocks"] = static_cast<double>(before);
    state.counters["live_block_growth"] = static_cast<double>(growth);
    state.counters["controls"] = static_cast<double>(window.Form().Controls().size());
    state.counters["per_load"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 2,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SwitchMenus)->Iterations(kSwitches / 2)->Unit(benchmark::kMillisecond);

// The switches' floor: the same two menus read from the package in turn, with no window.
void BM_ReadMenusOnly(benchmark::State& state) {
    const ProgramInfo program{"C:\\disc\\", "setup.exe", "Ambrevo"};
    ProgramFile files(TwoMenuProgram());
    testing::FakeDialogs dialogs;
    NoDebugOutput debug;
    LoadError loadError;
    MenuPackage package(files, dialogs, program, loadError);
    package.OpenPackage(program.fileName);
    for (auto _ : state) {
        for (const char* entry : {"big.mnu", "small.mnu"}) {
            MenuDefinition menu;
            if (!bench::ReadEntryMenu(package, program, entry, dialogs, debug, menu) ||
                loadError.IsSet()) {
                state.SkipWithError("a menu did not load");
                return;
            }
            benchmark::DoNotOptimize(menu);
        }
    }
    state.counters["per_load"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 2,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadMenusOnly)->Iterations(kSwitches / 2)->Unit(benchmark::kMillisecond);

// Prints the verdicts after the usual table.
class VerdictReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            for (const auto& [name, counter] : run.counters) {
                values_[run.benchmark_name() + "/" + name] = counter.value;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto perItem = values_.find("BM_AnimateItems/per_item");
        if (perItem != values_.end()) {
            const double microseconds = perItem->second * 1e6;
            std::printf("animation: %.3f us per item per tick (target under %.0f us): %s\n",
                        microseconds, kTargetMicrosecondsPerItem,
                        microseconds < kTargetMicrosecondsPerItem ? "met" : "NOT met");
            const auto floor = values_.find("BM_SetItemPictures/per_item");
            if (floor != values_.end()) {
                std::printf("%s (the frames set on plain pictures)\n",
                            bench::AgainstFloor("animation", microseconds, floor->second * 1e6,
                                                "us per item per tick")
                                .c_str());
            }
        }
        const std::string switches = "BM_SwitchMenus/iterations:" + std::to_string(kSwitches / 2);
        const auto growth = values_.find(switches + "/live_block_growth");
        if (growth != values_.end()) {
            std::printf("menu switches: %d loads, live heap blocks grew by %.0f: %s\n", kSwitches,
                        growth->second, growth->second <= 0 ? "no growth" : "GROWTH");
        }
        const std::string reads = "BM_ReadMenusOnly/iterations:" + std::to_string(kSwitches / 2);
        const auto perLoad = values_.find(switches + "/per_load");
        const auto perRead = values_.find(reads + "/per_load");
        if (perLoad != values_.end() && perRead != values_.end()) {
            std::printf("%s (the menus read with no window)\n",
                        bench::AgainstFloor("menu switch", perLoad->second * 1e3,
                                            perRead->second * 1e3, "ms per load")
                            .c_str());
        }
    }

private:
    std::map<std::string, double> values_;
};

}  // namespace
}  // namespace ambrevo

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    ambrevo::VerdictReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
