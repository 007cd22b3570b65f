#include "simulation/GameLoop.h"

#include "core/Errors.h"
#include "simulation/LateGame.h"
#include "simulation/Penalties.h"
#include "simulation/ScoringModel.h"
#include "simulation/SeriesSummary.h"

#include <charconv>
#include <string>

namespace zelkor {

namespace {

// GaaScale of every series: the goalie factor is divided by it.
constexpr double GaaScaleValue = 1.4;
// LeagueRatio of every series: league goals per assist.
constexpr double LeagueRatioValue = 0.5893;
// The goals-against average whose goalie factor is 1 / GaaScale.
constexpr double GoalieFactorBase = 2.776;
constexpr double DrawRange = 100000.0;            // a minute's draw is uniform in [1, 100001)
constexpr double DrawOffset = 1.0;                // the smallest draw of a minute
constexpr int FirstRegulationMinute = 59;         // minutes count down: 59 is the first of a game
constexpr int FirstOvertimeMinute = 4;            // five minutes of sudden death, 4 down to 0
constexpr int LateGameMinute = 1;                 // the late-game rules run from this minute down
constexpr int LastScanIndex = PlayersPerTeam - 1; // pass i looks at roster row i + 1
constexpr std::size_t LineCapacity = 128; // enough for most lines; longer names grow it once

// What one series works with; the line buffer is reused for every log line.
struct Series {
    PredictionState& state;
    WindowServices& window;
    DrawSource& draws;
    std::string line;
};

void appendNumber(std::string& text, int number) {
    char digits[8];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    text.append(digits, result.ptr);
}

// 2.776 / gaa times the single-precision 1 / GaaScale. A fault names the goalie, since a
// goals-against average of 0 is the one the user can make.
Single goalieFactor(Single gaa, Single gaaScale, const char* goalie, const std::string& code) {
    try {
        const Single inverseScale =
            toSingle(checkedDivide(1.0, gaaScale, "1 / GaaScale"), "1 / GaaScale");
        return toSingle(checkedDivide(GoalieFactorBase, gaa, "the goalie factor") * inverseScale,
                        "the goalie factor");
    } catch (const ArithmeticError& error) {
        const std::string reason =
            gaa == 0 ? std::string("the goals-against average is 0.") : std::string(error.what());
        throw ArithmeticError(std::string("Cannot compute the goalie factor of the ") + goalie +
                              " (" + code + "): " + reason);
    }
}

Single minuteDraw(DrawSource& draws) {
    return toSingle(static_cast<double>(draws.nextDraw()) * DrawRange + DrawOffset,
                    "the draw of the minute");
}

void resetGame(PredictionState& state) {
    state.Scorex = 0;
    state.Scorey = 0;
    state.OVERTIME = 0;
    state.Winx = 0;
    state.Tiex = 0;
    state.Winy = 0;
    state.Tiey = 0;
}

void startSeries(Series& series, SeedSource& seeds) {
    PredictionState& state = series.state;
    state.GaaScale = toSingle(GaaScaleValue, "GaaScale");
    state.LeagueRatio = toSingle(LeagueRatioValue, "LeagueRatio");
    state.Rndx = 0;
    state.Rndy = 0;
    state.Winsx = 0;
    state.Tiesx = 0;
    state.Goalsx = 0;
    state.Winsy = 0;
    state.Tiesy = 0;
    state.Goalsy = 0;
    // A series ended by an error leaves its game unfinished; the next one must not
    // inherit that game's score.
    resetGame(state);
    series.draws.reseed(seeds.seriesSeed());
    state.match = 1;
}

void drawMinute(Series& series) {
    series.state.Rndx = minuteDraw(series.draws);
    series.state.Rndy = minuteDraw(series.draws);
}

void computeGoalieFactors(PredictionState& state) {
    state.GaaFactorx = goalieFactor(state.GAAH, state.GaaScale, "home goalie", state.HOME);
    state.GaaFactory = goalieFactor(state.GAAV, state.GaaScale, "visiting goalie", state.VISITOR);
}

void resetMultipliers(PredictionState& state) {
    state.powerplayx = 1;
    state.powerplayy = 1;
    state.shorthandx = 1;
    state.shorthandy = 1;
}

void computeFinishFactors(PredictionState& state) {
    state.Finishx = toSingle(checkedDivide(state.Ratiox, state.LeagueRatio, "Finishx"), "Finishx");
    state.Finishy = toSingle(checkedDivide(state.Ratioy, state.LeagueRatio, "Finishy"), "Finishy");
}

void appendGoalLine(Series& series, const std::string& code, const RosterTable& roster,
                    int player) {
    std::string& line = series.line;
    line.clear();
    line += code;
    line += " score! by ";
    line += roster.at(player, NameColumn);
    line += " at minute ";
    appendNumber(line, series.state.Minute);
    line += "\r\n";
    series.window.appendLog(line);
}

// Player k scores when Cum[k - 1] < draw < Cum[k]; a draw on a threshold scores for nobody.
bool drawHits(const PlayerArray& thresholds, int index, Single draw) {
    return thresholds[index] < draw && draw < thresholds[index + 1];
}

// The passes run by roster row, visitors first on each row; in overtime the first goal
// ends the scan.
void scanForGoals(Series& series) {
    PredictionState& state = series.state;
    for (int index = 0; index <= LastScanIndex; ++index) {
        if (state.Rndx > state.Cumx[PlayersPerTeam] && state.Rndy > state.Cumy[PlayersPerTeam]) {
            return;
        }
        if (drawHits(state.Cumx, index, state.Rndx)) {
            appendGoalLine(series, state.VISITOR, state.RosterX, index + 1);
            ++state.Scorex;
        }
        if (state.OVERTIME == 1 && state.Scorex > state.Scorey) {
            return;
        }
        if (drawHits(state.Cumy, index, state.Rndy)) {
            appendGoalLine(series, state.HOME, state.RosterY, index + 1);
            ++state.Scorey;
        }
        if (state.OVERTIME == 1 && state.Scorey > state.Scorex) {
            return;
        }
    }
}

void playMinute(Series& series) {
    PredictionState& state = series.state;
    // 1. The two draws of the minute, visitors first.
    drawMinute(series);
    // 2. The goalie factors.
    computeGoalieFactors(state);
    // 3. Even strength until a penalty says otherwise.
    resetMultipliers(state);
    // 4. The finishing factors.
    computeFinishFactors(state);
    // 5. The last two minutes of a period have their own penalty rules.
    if (state.Minute <= LateGameMinute) {
        LATEGAME(state, series.draws);
    }
    // 6. The penalties of the minute.
    PENAL(state, series.draws);
    // 7. Rates and thresholds under the multipliers now in force.
    SCORERATE(state);
    // 8. Who scores.
    scanForGoals(series);
}

void startOvertime(PredictionState& state) {
    state.Minute = FirstOvertimeMinute;
    state.OVERTIME = 1;
    state.PENALFLAG = 0;
}

// Regulation from minute 59 down to 0, then sudden-death overtime from 4 when level.
void playMinutes(Series& series) {
    PredictionState& state = series.state;
    state.PENALFLAG = 0;
    state.Minute = FirstRegulationMinute;
    for (;;) {
        playMinute(series);
        if (state.OVERTIME == 1 && state.Scorex != state.Scorey) {
            return;
        }
        --state.Minute;
        if (state.Minute >= 0) {
            continue;
        }
        if (state.Scorex == state.Scorey && state.OVERTIME == 0) {
            startOvertime(state);
            continue;
        }
        return;
    }
}

void appendFinalScoreLine(Series& series) {
    const PredictionState& state = series.state;
    std::string& line = series.line;
    line.clear();
    line += state.VISITOR;
    line += " - ";
    appendNumber(line, state.Scorex);
    line += "  ";
    line += state.HOME;
    line += " - ";
    appendNumber(line, state.Scorey);
    line += "\r\n";
    series.window.appendLog(line);
}

void addGameToTallies(PredictionState& state) {
    state.Goalsx += state.Scorex;
    state.Winsx += state.Winx;
    state.Tiesx += state.Tiex;
    state.Goalsy += state.Scorey;
    state.Winsy += state.Winy;
    state.Tiesy += state.Tiey;
}

void playGame(Series& series) {
    PredictionState& state = series.state;
    playMinutes(series);
    OUTCOME(state);
    appendFinalScoreLine(series);
    addGameToTallies(state);
    resetGame(state);
    ++state.match;
}

} // namespace

void OUTCOME(PredictionState& state) {
    if (state.Scorex > state.Scorey) {
        state.Winx = 1;
    }
    if (state.Scorey > state.Scorex) {
        state.Winy = 1;
    }
    if (state.Scorex == state.Scorey) {
        state.Tiex = 1;
        state.Tiey = 1;
    }
}

void Gameplay(PredictionState& state, WindowServices& window, DrawSource& draws,
              SeedSource& seeds) {
    Series series{state, window, draws, {}};
    series.line.reserve(LineCapacity);
    startSeries(series, seeds);
    while (state.match <= GamesPerSeries) {
        playGame(series);
    }
    SeriesSummary(state, window);
}

} // namespace zelkor
