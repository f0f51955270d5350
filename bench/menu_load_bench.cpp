// Loads a heavy version-7 menu (640 x 480 background, 60 items x 3 sets x 8 frames of
// 128 x 64) and compares the whole load with plain zlib inflate of the package's picture
// streams. The load should take at most 0.3 times as long as the inflate; libdeflate's
// decoding of the same streams on one thread shows what the decoder alone costs, and on
// every processor the load's floor, which the load is printed beside.

#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "floor_line.h"
#include "heavy_menu.h"
#include "menu_entry_read.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/writer/package_writer.h"
#include "package/memory_file.h"
#include "package/package.h"
#include "picture_streams.h"

namespace ambrevo {
namespace {

using bench::HeavyMenu;
using bench::kHeavyFrames;
using bench::kHeavyItems;
using bench::kHeavySets;

constexpr double kTargetRatio = 0.3;
constexpr std::size_t kHeavyPictures = 1 + kHeavyItems * kHeavySets * kHeavyFrames;

struct Fixture {
    std::string program;
    std::vector<bench::PictureStream> streams;  // every picture's zlib stream in `program`

    std::span<const unsigned char> Bytes() const {
        return {reinterpret_cast<const unsigned char*>(program.data()), program.size()};
    }
    const unsigned char* Stream(std::size_t i) const { return Bytes().data() + streams[i].offset; }
};

const Fixture& TheFixture() {
    static const Fixture fixture = [] {
        const auto body = pack::WriteMenuBody(HeavyMenu(), pack::kLatestMenuVersion);
        const std::vector<std::uint8_t> player(4096, 0x90);
        const std::vector<pack::PackageEntryData> entries{{"heavy.mnu", body}};
        const auto file = pack::WritePackage(player, entries);

        Fixture f;
        f.program.assign(file.begin(), file.end());
        f.streams = bench::FindPictureStreams(f.Bytes());
        return f;
    }();
    return fixture;
}

// False, with the benchmark stopped, when the package's streams were not all found.
bool HasEveryStream(benchmark::State& state) {
    if (TheFixture().streams.size() == kHeavyPictures) return true;
    state.SkipWithError("the package's picture streams were not all found");
    return false;
}

void BM_InflateOnly(benchmark::State& state) {
    if (!HasEveryStream(state)) return;
    const Fixture& f = TheFixture();
    std::vector<unsigned char> out(640 * 480 * 4);
    for (auto _ : state) {
        for (std::size_t i = 0; i < f.streams.size(); ++i) {
            uLongf size = static_cast<uLongf>(f.streams[i].rawSize);
            if (uncompress(out.data(), &size, f.Stream(i),
                           static_cast<uLong>(f.streams[i].length)) != Z_OK) {
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
    if (!HasEveryStream(state)) return;
    const Fixture& f = TheFixture();
    std::vector<unsigned char> out(640 * 480 * 4);
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    for (auto _ : state) {
        for (std::size_t i = 0; i < f.streams.size(); ++i) {
            if (libdeflate_zlib_decompress(decompressor, f.Stream(i), f.streams[i].length,
                                           out.data(), f.streams[i].rawSize,
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

// The load's floor: libdeflate decoding the same streams on every processor, its threads
// started in each round as the load starts its workers.
void BM_InflateFloor(benchmark::State& state) {
    if (!HasEveryStream(state)) return;
    const Fixture& f = TheFixture();
    const unsigned threads = bench::ProcessorCount();
    for (auto _ : state) {
        if (!bench::InflateOnThreads(f.Bytes(), f.streams, threads)) {
            state.SkipWithError("libdeflate failed");
            return;
        }
    }
}
BENCHMARK(BM_InflateFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

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
        const bool read = bench::ReadEntryMenu(package, program, "heavy.mnu", dialogs, debug, menu);
        if (!read || loadError.IsSet() ||
            !menu.pictures.HasPicture(kHeavyItems, 2, kHeavyFrames - 1)) {
            state.SkipWithError("the menu did not load");
            return;
        }
        benchmark::DoNotOptimize(menu);
    }
}
BENCHMARK(BM_MenuLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the load beside its floor, and the load / inflate ratio, after the usual table.
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
        const auto load = times_.find("BM_MenuLoad/real_time");
        const auto floor = times_.find("BM_InflateFloor/real_time");
        if (load != times_.end() && floor != times_.end()) {
            std::printf("%s (libdeflate on %u threads)\n",
                        bench::AgainstFloor("menu load", load->second, floor->second, "ms").c_str(),
                        bench::ProcessorCount());
        }
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
