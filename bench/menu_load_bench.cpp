// Loads a heavy version-7 menu (640 x 480 background, 60 items x 3 sets x 8 frames of
// 128 x 64) and compares the whole load with plain zlib inflate of the same pixel
// streams. The load should take at most 0.3 times as long as the inflate; libdeflate's
// decoding of the same streams shows what the decoder alone costs.

#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "heavy_menu.h"
#include "menu/menu_reader.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/writer/package_writer.h"
#include "package/memory_file.h"
#include "package/package.h"

namespace ambrevo {
namespace {

using bench::HeavyMenu;
using bench::kHeavyFrames;
using bench::kHeavyItems;

constexpr double kTargetRatio = 0.3;

struct Fixture {
    std::string program;
    std::vector<std::vector<unsigned char>> streams;  // the zlib stream of every picture
    std::vector<std::size_t> rawSizes;
};

const Fixture& TheFixture() {
    static const Fixture fixture = [] {
        const MenuDefinition menu = HeavyMenu();
        const auto body = pack::WriteMenuBody(menu, pack::kLatestMenuVersion);
        const std::vector<std::uint8_t> player(4096, 0x90);
        const std::vector<pack::PackageEntryData> entries{{"heavy.mnu", body}};
        const auto file = pack::WritePackage(player, entries);

        Fixture f;
        f.program.assign(file.begin(), file.end());
        for (int record = 0; record < kPictureRecords; ++record) {
            for (int set = 0; set < kPictureSets; ++set) {
                for (int frame = 0; frame < kPictureFrames; ++frame) {
                    const auto picture = menu.pictures.Picture(record, set, frame);
                    if (!picture) continue;
                    const auto rawSize = picture->pixels.size() * 4;
                    uLongf packedSize = compressBound(static_cast<uLong>(rawSize));
                    std::vector<unsigned char> packed(packedSize);
                    compress2(packed.data(), &packedSize,
                              reinterpret_cast<const Bytef*>(picture->pixels.data()),
                              static_cast<uLong>(rawSize), Z_BEST_COMPRESSION);
                    packed.resize(packedSize);
                    f.streams.push_back(std::move(packed));
                    f.rawSizes.push_back(rawSize);
                }
            }
        }
        return f;
    }();
    return fixture;
}

void BM_InflateOnly(benchmark::State& state) {
    const Fixture& f = TheFixture();
    std::vector<unsigned char> out(640 * 480 * 4);
    for (auto _ : state) {
        for (std::size_t i = 0; i < f.streams.size(); ++i) {
            uLongf size = static_cast<uLongf>(f.rawSizes[i]);
            if (uncompress(out.data(), &size, f.streams[i].data(),
                           static_cast<uLong>(f.streams[i].size())) != Z_OK) {
                state.SkipWithError("inflate failed");
                return;
            }
        }
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_InflateOnly)->Unit(benchmark::kMillisecond);

// The same streams through libdeflate's whole-buffer decoder, which the load uses.
void BM_LibdeflateOnly(benchmark::State& state) {
    const Fixture& f = TheFixture();
    std::vector<unsigned char> out(640 * 480 * 4);
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    for (auto _ : state) {
        for (std::size_t i = 0; i < f.streams.size(); ++i) {
            if (libdeflate_zlib_decompress(decompressor, f.streams[i].data(), f.streams[i].size(),
                                           out.data(), f.rawSizes[i],
                                           nullptr) != LIBDEFLATE_SUCCESS) {
                state.SkipWithError("libdeflate failed");
                break;
            }
        }
        benchmark::DoNotOptimize(out.data());
    }
    libdeflate_free_decompressor(decompressor);
}
BENCHMARK(BM_LibdeflateOnly)->Unit(benchmark::kMillisecond);

void BM_MenuLoad(benchmark::State& state) {
    const Fixture& f = TheFixture();
    const ProgramInfo program{"C:\\", "setup.exe", "Ambrevo"};
    testing::FakeFileSystem files;
    files.AddFile(program.folder + program.fileName, f.program);
    testing::FakeDialogs dialogs;
    testing::FakeDebugOutput debug;
    LoadError loadError;
    MenuPackage package(files, dialogs, program, loadError);
    package.OpenPackage(program.fileName);
    for (auto _ : state) {
        MenuDefinition menu;
        debug.lines.clear();
        package.OpenPackageStream(program.fileName, program.folder);
        std::string name = "heavy.mnu";
        package.SeekEntry(name);
        const bool read = ReadMenu(package.Reader(), dialogs, debug, program.messageCaption, menu);
        package.ClosePackageStream();
        if (!read || loadError.IsSet() ||
            !menu.pictures.HasPicture(kHeavyItems, 2, kHeavyFrames - 1)) {
            state.SkipWithError("the menu did not load");
            return;
        }
        benchmark::DoNotOptimize(menu);
    }
}
BENCHMARK(BM_MenuLoad)->Unit(benchmark::kMillisecond);

// Prints the load / inflate ratio after the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto load = times_.find("BM_MenuLoad");
        const auto inflate = times_.find("BM_InflateOnly");
        if (load == times_.end() || inflate == times_.end()) return;
        const double ratio = load->second / inflate->second;
        std::printf("menu load / inflate = %.3f (target at most %.1f): %s\n", ratio, kTargetRatio,
                    ratio <= kTargetRatio ? "met" : "NOT met");
        const auto libdeflate = times_.find("BM_LibdeflateOnly");
        if (libdeflate == times_.end()) return;
        std::printf("libdeflate alone / inflate = %.3f\n", libdeflate->second / inflate->second);
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace
}  // namespace ambrevo

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    ambrevo::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
