// How much does our step() cost next to a plain Life step? Both run on a
// 384 x 216 torus (a 3840 x 2160 screen of 10-pixel cells). Ours also keeps
// histories, species lists and makes two painter calls per cell; here the
// painter is a no-op behind the same virtual interface the saver uses.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "world/random_source.h"
#include "world/world.h"

namespace {

constexpr int kColumns = 384;
constexpr int kRows = 216;
constexpr int kWarmUpSteps = 300;  // long enough for the soup to look typical

class NoPainting final : public WorldHooks {
public:
    explicit NoPainting(World& world) : world_(world) {}
    void PaintLiveCell(Cell&) override {}
    void PaintDeadCell(Cell&) override {}
    void NewWorld() override { world_.seed(); }
    void ClearScreen() override {}

private:
    World& world_;
};

void BM_WorldStep(benchmark::State& state) {
    CrtRandom random;
    random.seed(1);
    World world(random);
    NoPainting hooks(world);
    world.setHooks(hooks);
    world.rules = WorldRules{true, true, SpeciesMode::Six, 0xFFFFFFFFu};
    world.allocate(kColumns, kRows);
    for (int i = 0; i < kWarmUpSteps; ++i) {
        world.step();
    }
    for (auto _ : state) {
        world.step();
        benchmark::ClobberMemory();
    }
    state.counters["cells"] = kColumns * kRows;
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

BENCHMARK(BM_WorldStep)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReferenceLifeStep)->Repetitions(9)->ReportAggregatesOnly(true);

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
    const double ours = reporter.medians["BM_WorldStep"] / cells;
    const double reference = reporter.medians["BM_ReferenceLifeStep"] / cells;
    if (ours > 0 && reference > 0) {
        std::printf("\nstep():          %.3f ns per cell per step\n", ours);
        std::printf("plain Life step: %.3f ns per cell per step\n", reference);
        std::printf("ratio ours / reference: %.2f (target at most 2.0)\n", ours / reference);
    }
    benchmark::Shutdown();
    return 0;
}
