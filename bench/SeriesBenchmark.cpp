#include "core/PredictionState.h"
#include "simulation/GameLoop.h"
#include "simulation/RandomSource.h"
#include "support/RecordingWindow.h"
#include "support/SampleTeams.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

namespace {

using namespace zelkor;

// Draws a series of the sample teams takes, counted over many seeds; the generator
// benchmark times this many.
constexpr int DrawsPerSeries = 2940;

void countSeries(benchmark::State& benchmarkState) {
    benchmarkState.counters["series"] = benchmark::Counter(
        static_cast<double>(benchmarkState.iterations()), benchmark::Counter::kIsRate);
}

void BM_LoggedSeries(benchmark::State& benchmarkState) {
    PredictionState state = testing::fullRosterState();
    // Keeps the log in one reused string, as the window does.
    testing::RecordingWindow window;
    Xoshiro256StarStar draws;
    std::uint64_t seed = 1;
    for (auto _ : benchmarkState) {
        window.clearLog();
        FixedSeed seeds(seed++);
        Gameplay(state, window, draws, seeds);
        benchmark::DoNotOptimize(state.Goalsx);
    }
    countSeries(benchmarkState);
}
BENCHMARK(BM_LoggedSeries);

void BM_QuietSeries(benchmark::State& benchmarkState) {
    PredictionState state = testing::fullRosterState();
    Xoshiro256StarStar draws;
    SeriesOutcome outcome;
    std::uint64_t seed = 1;
    for (auto _ : benchmarkState) {
        FixedSeed seeds(seed++);
        playQuietSeries(state, draws, seeds, outcome);
        benchmark::DoNotOptimize(outcome.games.data());
    }
    countSeries(benchmarkState);
}
BENCHMARK(BM_QuietSeries);

// Quiet series as a many-series run plays them: the rates kept from series to series.
void BM_QuietSeriesOfARun(benchmark::State& benchmarkState) {
    PredictionState state = testing::fullRosterState();
    Xoshiro256StarStar draws;
    SeriesOutcome outcome;
    RateCache rates;
    std::uint64_t seed = 1;
    for (auto _ : benchmarkState) {
        FixedSeed seeds(seed++);
        playQuietSeries(state, draws, seeds, outcome, rates);
        benchmark::DoNotOptimize(outcome.games.data());
    }
    countSeries(benchmarkState);
}
BENCHMARK(BM_QuietSeriesOfARun);

// The generator alone, for the draws of one series: the floor under a series' time.
void BM_GeneratorDrawsOfASeries(benchmark::State& benchmarkState) {
    Xoshiro256StarStar draws(1);
    for (auto _ : benchmarkState) {
        Single sum = 0;
        for (int draw = 0; draw < DrawsPerSeries; ++draw) {
            sum += draws.nextDraw();
        }
        benchmark::DoNotOptimize(sum);
    }
    countSeries(benchmarkState);
}
BENCHMARK(BM_GeneratorDrawsOfASeries);

// A quiet series of a run and the generator's draws of a series, side by side in each
// iteration so that both see the same machine: the counter "ratio" is the series' time
// over the generator's.
void BM_QuietSeriesOverGenerator(benchmark::State& benchmarkState) {
    using Clock = std::chrono::steady_clock;
    PredictionState state = testing::fullRosterState();
    Xoshiro256StarStar draws;
    Xoshiro256StarStar generator(1);
    SeriesOutcome outcome;
    RateCache rates;
    std::uint64_t seed = 1;
    Clock::duration seriesTime{};
    Clock::duration generatorTime{};
    for (auto _ : benchmarkState) {
        const auto start = Clock::now();
        FixedSeed seeds(seed++);
        playQuietSeries(state, draws, seeds, outcome, rates);
        benchmark::DoNotOptimize(outcome.games.data());
        const auto middle = Clock::now();
        Single sum = 0;
        for (int draw = 0; draw < DrawsPerSeries; ++draw) {
            sum += generator.nextDraw();
        }
        benchmark::DoNotOptimize(sum);
        const auto end = Clock::now();
        seriesTime += middle - start;
        generatorTime += end - middle;
    }
    benchmarkState.counters["ratio"] =
        static_cast<double>(seriesTime.count()) / static_cast<double>(generatorTime.count());
}
BENCHMARK(BM_QuietSeriesOverGenerator);

} // namespace
