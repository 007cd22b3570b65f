#include "core/PredictionState.h"
#include "core/WindowServices.h"
#include "simulation/GameLoop.h"
#include "simulation/RandomSource.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace zelkor;

// Keeps the log in one reused string, as a window would, and ignores everything else.
class DiscardingWindow final : public WindowServices {
public:
    void beep() override {}
    std::string visitorGaaText() const override { return {}; }
    std::string homeGaaText() const override { return {}; }
    void showMessage(const std::string&) override {}
    void clearLog() override { log_.clear(); }
    void appendLog(std::string_view line) override { log_ += line; }
    std::string logText() const override { return log_; }
    void setVisitorAverage(const std::string&) override {}
    void setHomeAverage(const std::string&) override {}
    void setMoneyLine(const std::string&) override {}

private:
    std::string log_;
};

// Two full rosters of plausible players (5 to 40 goals in 60 to 82 games) and ratings
// of an ordinary table row.
PredictionState benchmarkState() {
    PredictionState state;
    state.VISITOR = "NYR";
    state.HOME = "MTL";
    state.GAAV = 2.85f;
    state.GAAH = 2.6f;
    state.Ratiox = 0.61f;
    state.Ratioy = 0.57f;
    state.OFFR = 0.96f;
    state.PENR = 0.31f;
    state.PPR = 1.02f;
    state.SHR = 0.42f;
    state.DEFR = 1.04f;
    state.OFFH = 1.08f;
    state.PENH = 0.22f;
    state.PPH = 0.88f;
    state.SHH = 1.3f;
    state.DEFH = 0.97f;
    for (int row = 1; row <= PlayersPerTeam; ++row) {
        const auto goals = static_cast<Single>(5 + (row * 7) % 36);
        const auto games = static_cast<Single>(60 + (row * 5) % 23);
        state.RosterX.at(row, NameColumn) = "Ranger " + std::to_string(row);
        state.RosterY.at(row, NameColumn) = "Hab " + std::to_string(row);
        state.Gamex[row] = games;
        state.Gamey[row] = games + 1;
        state.GOALX[row] = goals;
        state.GOALY[row] = goals;
    }
    return state;
}

void BM_Series(benchmark::State& benchmarkState_) {
    PredictionState state = benchmarkState();
    DiscardingWindow window;
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
