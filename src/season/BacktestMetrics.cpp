#include "season/BacktestMetrics.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace zelkor {

namespace {

constexpr double BinWidth = 0.05; // of the favourite's chance, from one half up
// Lets a chance on a bin's edge (0.7, held as 0.69999...) fall into the bin it starts.
constexpr double EdgeTolerance = 1e-9;

void count(Accuracy& accuracy, Side pick, Side winner, bool push) {
    if (push || pick == Side::None || winner == Side::None) {
        ++accuracy.pushes;
        return;
    }
    ++accuracy.counted;
    accuracy.correct += pick == winner ? 1 : 0;
}

std::size_t binOf(double favouriteChance) {
    const auto bin =
        static_cast<long>(std::floor((favouriteChance - 0.5) / BinWidth + EdgeTolerance));
    return static_cast<std::size_t>(std::clamp(bin, 0L, static_cast<long>(CalibrationBins - 1)));
}

} // namespace

std::optional<double> Accuracy::rate() const {
    if (counted == 0) {
        return std::nullopt;
    }
    return static_cast<double>(correct) / counted;
}

std::optional<double> FlatStake::returnOnStake() const {
    if (bets == 0) {
        return std::nullopt;
    }
    return profit / bets;
}

Side favouriteOf(double homeProbability) {
    if (homeProbability > 0.5) {
        return Side::Home;
    }
    return homeProbability < 0.5 ? Side::Visitor : Side::None;
}

ForecastFigures scoreForecasts(const std::vector<Forecast>& forecasts,
                               const std::vector<GameOutcome>& outcomes) {
    ForecastFigures figures;
    for (int bin = 0; bin < CalibrationBins; ++bin) {
        figures.calibration[static_cast<std::size_t>(bin)].low = 0.5 + bin * BinWidth;
        figures.calibration[static_cast<std::size_t>(bin)].high = 0.5 + (bin + 1) * BinWidth;
    }
    double logLoss = 0;
    double brier = 0;
    for (std::size_t game = 0; game < forecasts.size() && game < outcomes.size(); ++game) {
        const Forecast& forecast = forecasts[game];
        const GameOutcome& outcome = outcomes[game];
        ++figures.games;
        count(figures.levelAndShootoutPushes, forecast.pick, outcome.winner, outcome.shootout);
        count(figures.shootoutsForWinner, forecast.pick, outcome.winner, false);
        if (outcome.winner == Side::None) {
            continue;
        }
        ++figures.decidedGames;
        const double homeWon = outcome.winner == Side::Home ? 1.0 : 0.0;
        const double winnerChance =
            homeWon == 1.0 ? forecast.homeProbability : 1.0 - forecast.homeProbability;
        logLoss -= std::log(std::clamp(winnerChance, SmallestChance, 1.0));
        brier += (forecast.homeProbability - homeWon) * (forecast.homeProbability - homeWon);

        // At exactly one half either side is the favourite; the home side stands for it.
        const bool homeFavoured = forecast.homeProbability >= 0.5;
        const double favouriteChance =
            homeFavoured ? forecast.homeProbability : 1.0 - forecast.homeProbability;
        CalibrationBin& bin = figures.calibration[binOf(favouriteChance)];
        ++bin.games;
        bin.predicted += favouriteChance;
        bin.observed += (outcome.winner == Side::Home) == homeFavoured ? 1.0 : 0.0;
    }
    if (figures.decidedGames > 0) {
        figures.logLoss = logLoss / figures.decidedGames;
        figures.brier = brier / figures.decidedGames;
    }
    for (CalibrationBin& bin : figures.calibration) {
        if (bin.games > 0) {
            bin.predicted /= bin.games;
            bin.observed /= bin.games;
        }
    }
    return figures;
}

double devigHomeProbability(double visitorOdds, double homeOdds) {
    const double home = 1.0 / homeOdds;
    const double visitor = 1.0 / visitorOdds;
    return home / (home + visitor);
}

FlatStake flatStakeReturn(const std::vector<Forecast>& forecasts,
                          const std::vector<GameOutcome>& outcomes,
                          const std::vector<std::optional<GameOdds>>& odds, double minEdge) {
    FlatStake stake;
    for (std::size_t game = 0; game < forecasts.size(); ++game) {
        if (game >= odds.size() || game >= outcomes.size() || !odds[game]) {
            continue;
        }
        const double home = forecasts[game].homeProbability;
        const std::pair<Side, double> sides[] = {
            {Side::Home, home * odds[game]->home},
            {Side::Visitor, (1.0 - home) * odds[game]->visitor}};
        for (const auto& [side, expected] : sides) {
            if (expected - 1.0 <= minEdge) {
                continue;
            }
            ++stake.bets;
            const Side winner = outcomes[game].winner;
            if (winner == Side::None) {
                ++stake.pushed;
            } else if (winner == side) {
                ++stake.won;
                stake.profit += (side == Side::Home ? odds[game]->home : odds[game]->visitor) - 1.0;
            } else {
                stake.profit -= 1.0;
            }
        }
    }
    return stake;
}

std::vector<EdgeBand> edgeBands(const std::vector<Forecast>& forecasts,
                                const std::vector<GameOutcome>& outcomes,
                                const std::vector<std::optional<GameOdds>>& odds) {
    std::vector<EdgeBand> bands;
    for (int step = 0; step < EdgeBandSteps; ++step) {
        const double from = step * EdgeBandStep;
        bands.push_back({from, flatStakeReturn(forecasts, outcomes, odds, from)});
    }
    return bands;
}

std::optional<double> payingEdge(const std::vector<EdgeBand>& bands) {
    for (const EdgeBand& band : bands) {
        if (band.stake.bets >= FewestBandBets && band.stake.profit > 0) {
            return band.from;
        }
    }
    return std::nullopt;
}

} // namespace zelkor
