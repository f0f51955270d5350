// The breadth-first walk of the search for moved targets, without its window, over an
// in-memory tree of 10,000 folders and 100,000 files that holds no match, so every folder
// is listed (target: under 50 ms of CPU time a walk, as the machine may be shared), beside
// its floor: the same listings taken from the tree with nothing else done. The heap's
// peak during walks of trees of three sizes shows the memory per folder, which must not
// grow with the tree (linear memory).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "actions/missing_target_search.h"
#include "fakes/fake_dialogs.h"
#include "fakes/headless_widgetset.h"
#include "floor_line.h"
#include "heap_counter.h"

namespace ambrevo {
namespace {

constexpr int kFilesPerFolder = 10;
constexpr double kTargetMilliseconds = 50.0;
constexpr double kLinearTolerance = 1.5;

// A folder tree held as listings ready to visit, so the walk's own cost is what is timed:
// the root "D:\" holds `branches` folders, each holding `branches - 1` more, and every
// folder holds kFilesPerFolder files.
class TreeFinder : public FileFinder {
public:
    explicit TreeFinder(int branches) {
        Add("D:\\", "branch", branches);
        for (int i = 0; i < branches; ++i) {
            const std::string branch = "D:\\branch" + std::to_string(i) + "\\";
            Add(branch, "leaf", branches - 1);
            for (int j = 0; j < branches - 1; ++j) {
                Add(branch + "leaf" + std::to_string(j) + "\\", "", 0);
            }
        }
    }

    std::size_t Folders() const { return listings_.size(); }
    // Every folder's listing pattern, as the walk asks for it.
    std::vector<std::string> Patterns() const {
        std::vector<std::string> patterns;
        for (const auto& [folder, entries] : listings_) patterns.push_back(folder + "*.*");
        return patterns;
    }

    std::optional<FileAttributes> Attributes(const std::string&) override { return {}; }
    bool ListFolder(const std::string& pattern,
                    const std::function<bool(const FolderEntry&)>& visit) override {
        const auto found = listings_.find(pattern.substr(0, pattern.size() - 3));  // "*.*"
        if (found == listings_.end()) return false;
        for (const FolderEntry& entry : found->second) {
            if (!visit(entry)) break;
        }
        return true;
    }

private:
    // folder holds subfolders named childName followed by their number.
    void Add(const std::string& folder, const std::string& childName, int subfolders) {
        std::vector<FolderEntry>& entries = listings_[folder];
        entries.push_back({".", {true}});
        entries.push_back({"..", {true}});
        for (int i = 0; i < subfolders; ++i) {
            entries.push_back({childName + std::to_string(i), {true}});
        }
        for (int i = 0; i < kFilesPerFolder; ++i) {
            entries.push_back({"Document " + std::to_string(i) + ".pdf", {}});
        }
    }

    std::unordered_map<std::string, std::vector<FolderEntry>> listings_;
};

struct Walker {
    explicit Walker(int branches) : tree(branches) { widgets.Attach(app); }
    std::optional<std::string> Walk() {
        return search.SearchFolderTree("manual.pdf", false, "D:\\");
    }

    TreeFinder tree;
    HeadlessWidgetset widgets;
    testing::FakeDialogs dialogs;
    ui::Application app{widgets, dialogs};
    ProgramInfo program{"D:\\menu\\", "setup.exe", "Ambrevo"};
    MissingTargetSearch search{tree, app, program};
};

// 100 branches: 1 + 100 + 100 * 99 = 10,001 folders and 100,010 files.
void BM_WalkWholeDrive(benchmark::State& state) {
    Walker walker(static_cast<int>(state.range(0)));
    const int before = walker.widgets.ProcessMessagesCalls();
    for (auto _ : state) {
        if (walker.Walk()) {
            state.SkipWithError("found what is not there");
            return;
        }
    }
    const double folders = static_cast<double>(walker.tree.Folders());
    if (walker.widgets.ProcessMessagesCalls() - before != state.iterations() * folders) {
        state.SkipWithError("the walk did not take every folder");
        return;
    }
    state.counters["folders"] = folders;
    state.counters["files"] = folders * kFilesPerFolder;
}
BENCHMARK(BM_WalkWholeDrive)->Arg(100)->Unit(benchmark::kMillisecond);

// The walk's floor: every listing of the same tree visited, entry by entry, with no queue,
// no paths built and no messages processed.
void BM_ListEveryFolder(benchmark::State& state) {
    TreeFinder tree(static_cast<int>(state.range(0)));
    const std::vector<std::string> patterns = tree.Patterns();
    std::size_t entries = 0;
    for (auto _ : state) {
        for (const std::string& pattern : patterns) {
            tree.ListFolder(pattern, [&](const FolderEntry&) { return ++entries > 0; });
        }
    }
    benchmark::DoNotOptimize(entries);
}
BENCHMARK(BM_ListEveryFolder)->Arg(100)->Unit(benchmark::kMillisecond);

// The heap's peak during one walk, above what the tree itself holds, per folder.
void BM_WalkMemory(benchmark::State& state) {
    Walker walker(static_cast<int>(state.range(0)));
    double perFolder = 0;
    for (auto _ : state) {
        heap_counter::ResetPeak();
        const long long before = heap_counter::LiveBytes();
        benchmark::DoNotOptimize(walker.Walk());
        perFolder = static_cast<double>(heap_counter::PeakBytes() - before) /
                    static_cast<double>(walker.tree.Folders());
    }
    state.counters["folders"] = static_cast<double>(walker.tree.Folders());
    state.counters["peak_bytes_per_folder"] = perFolder;
}
BENCHMARK(BM_WalkMemory)->Arg(25)->Arg(50)->Arg(100)->Iterations(3)->Unit(benchmark::kMillisecond);

// Prints the verdicts after the usual table.
class VerdictReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            if (run.benchmark_name().starts_with("BM_WalkWholeDrive")) {
                walkMilliseconds_ = run.GetAdjustedCPUTime();
                walkFolders_ = run.counters.at("folders");
            } else if (run.benchmark_name().starts_with("BM_ListEveryFolder")) {
                floorMilliseconds_ = run.GetAdjustedCPUTime();
            } else {
                perFolder_.push_back(run.counters.at("peak_bytes_per_folder"));
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        if (walkMilliseconds_ > 0) {
            std::printf("drive walk: %.1f ms CPU over %.0f folders (target under %.0f ms): %s\n",
                        walkMilliseconds_, walkFolders_, kTargetMilliseconds,
                        walkMilliseconds_ < kTargetMilliseconds ? "met" : "NOT met");
            std::printf(
                "%s (the listings alone)\n",
                bench::AgainstFloor("drive walk", walkMilliseconds_, floorMilliseconds_, "ms CPU")
                    .c_str());
        }
        if (perFolder_.size() > 1) {
            const auto [least, most] = std::minmax_element(perFolder_.begin(), perFolder_.end());
            std::printf("walk memory: %.0f to %.0f peak bytes per folder: %s\n", *least, *most,
                        *most <= *least * kLinearTolerance ? "linear" : "NOT linear");
        }
    }

private:
    double walkMilliseconds_ = 0;
    double floorMilliseconds_ = 0;
    double walkFolders_ = 0;
    std::vector<double> perFolder_;
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
