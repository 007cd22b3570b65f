#include "core/PredictionState.h"
#include "simulation/GameLoop.h"
#include "simulation/RandomSource.h"
#include "support/RecordingWindow.h"
#include "support/SampleTeams.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace zelkor;

void BM_Series(benchmark::State& benchmarkState_) {
    PredictionState state = testing::fullRosterState();
    // Keeps the log in one reused string, as the window does.
    testing::RecordingWindow window;
    Xoshiro256StarStar draws;
    std::uint64_t seed = 1;
    for (auto _ : benchmarkState_) {
        window.clearLog();
        FixedSeed seeds(seed++);
        Gameplay(state, window, draws, seeds);
        benchmark::DoNotOptimize(state.Goalsx);
    }
    benchmarkState_.counters["series"] = benchmark::Counter(
        static_cast<double>(benchmarkState_.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Series);

} // namespace
