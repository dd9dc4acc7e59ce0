// How much does our step() cost next to a plain Life step? Both run on a
// 384 x 216 torus (a 3840 x 2160 screen of 10-pixel cells). Ours also keeps
// histories, species lists and calls the painter; here the painter only
// counts its calls, behind the same virtual interface the saver uses.
//
// Two screens are timed on their own: 1920 x 1080 of wriggling Small cells
// (15 pixels) running a soup, and the 3840 x 2160 worst case, Life off and
// every cell alive and painted each step.
//
// With --steps=N small (or worst) that case instead runs N steps after its
// warm-up and exits, a fixed amount of work for callgrind; compare.sh runs
// it so.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "world/random_source.h"
#include "world/world.h"

namespace {

constexpr int kColumns = 384;
constexpr int kRows = 216;
constexpr int kWarmUpSteps = 300;  // long enough for the soup to look typical

class CountingPainter final : public WorldHooks {
public:
    explicit CountingPainter(World& world) : world_(world) {}
    void PaintLiveCell(Cell&) override { ++calls; }
    void PaintDeadCell(Cell&) override { ++calls; }
    void NewWorld() override { world_.seed(); }
    void ClearScreen() override {}
    int64_t calls = 0;

private:
    World& world_;
};

struct Case {
    int columns;
    int rows;
    WorldRules rules;
};

// Generations at its largest, so that no world ends while it is timed.
constexpr Case kSoup{kColumns, kRows, {true, true, SpeciesMode::Six, 0xFFFFFFFFu}};
constexpr Case kSmall1080{1920 / 15, 1080 / 15, {true, true, SpeciesMode::Six, 0xFFFFFFFFu}};
constexpr Case kWorst2160{3840 / 15, 2160 / 15, {false, true, SpeciesMode::Six, 0xFFFFFFFFu}};

// A world of the case after its warm-up, stepping through `hooks`.
class CaseWorld {
public:
    explicit CaseWorld(const Case& c) : world_(random_), hooks_(world_) {
        random_.seed(1);
        world_.setHooks(hooks_);
        world_.rules = c.rules;
        world_.allocate(c.columns, c.rows);
        for (int i = 0; i < kWarmUpSteps; ++i) {
            world_.step();
        }
        hooks_.calls = 0;
    }
    World& world() { return world_; }
    int64_t calls() const { return hooks_.calls; }

private:
    CrtRandom random_;
    World world_;
    CountingPainter hooks_;
};

void BM_WorldStep(benchmark::State& state, const Case& c) {
    CaseWorld run(c);
    for (auto _ : state) {
        run.world().step();
        benchmark::ClobberMemory();
    }
    state.counters["cells"] = c.columns * c.rows;
    state.counters["paints"] = benchmark::Counter(static_cast<double>(run.calls()), benchmark::Counter::kAvgIterations);
}

// The reference: one byte per cell, neighbours counted with wrapped row and
// column indices precomputed per row, written to a second grid.
void BM_ReferenceLifeStep(benchmark::State& state) {
    std::vector<uint8_t> grid(size_t{kColumns} * kRows), next(grid.size());
    CrtRandom random;
    random.seed(1);
    for (uint8_t& c : grid) {
        c = random.draw() >= kSeedDeadBelow;
    }
    auto stepOnce = [&] {
        for (int y = 0; y < kRows; ++y) {
            const uint8_t* up = &grid[size_t((y + kRows - 1) % kRows) * kColumns];
            const uint8_t* row = &grid[size_t(y) * kColumns];
            const uint8_t* down = &grid[size_t((y + 1) % kRows) * kColumns];
            uint8_t* out = &next[size_t(y) * kColumns];
            for (int x = 0; x < kColumns; ++x) {
                const int l = x == 0 ? kColumns - 1 : x - 1;
                const int r = x == kColumns - 1 ? 0 : x + 1;
                const int n = up[l] + up[x] + up[r] + row[l] + row[r] + down[l] + down[x] + down[r];
                out[x] = n == 3 || (n == 2 && row[x]);
            }
        }
        grid.swap(next);
    };
    for (int i = 0; i < kWarmUpSteps; ++i) {
        stepOnce();
    }
    for (auto _ : state) {
        stepOnce();
        benchmark::ClobberMemory();
    }
}

BENCHMARK_CAPTURE(BM_WorldStep, soup, kSoup)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReferenceLifeStep)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_WorldStep, small_1920x1080, kSmall1080)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_WorldStep, worst_3840x2160, kWorst2160)->Repetitions(9)->ReportAggregatesOnly(true);

// Keeps the medians so the ratio can be printed after the run.
class MedianReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();  // ns per step
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strncmp(argv[1], "--steps=", 8) == 0) {
        const int steps = std::atoi(argv[1] + 8);
        const Case& c = std::strcmp(argv[2], "worst") == 0 ? kWorst2160 : kSmall1080;
        CaseWorld run(c);
        for (int i = 0; i < steps; ++i) {
            run.world().step();
        }
        std::printf("%d x %d: %.1f paints per step\n", c.columns, c.rows, double(run.calls()) / steps);
        return 0;
    }
    // Interleave the repetitions of both so that a busy machine slows both
    // alike; the medians then compare fairly.
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double cells = double(kColumns) * kRows;
    const double ours = reporter.medians["BM_WorldStep/soup"] / cells;
    const double reference = reporter.medians["BM_ReferenceLifeStep"] / cells;
    if (ours > 0 && reference > 0) {
        std::printf("\nstep():          %.3f ns per cell per step\n", ours);
        std::printf("plain Life step: %.3f ns per cell per step\n", reference);
        std::printf("ratio ours / reference: %.2f (target at most 2.0)\n", ours / reference);
    }
    benchmark::Shutdown();
    return 0;
}
