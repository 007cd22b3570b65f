#include "simulation/GameLoop.h"

#include "core/Errors.h"
#include "core/LogLine.h"
#include "simulation/LateGame.h"
#include "simulation/Penalties.h"
#include "simulation/RandomSource.h"
#include "simulation/ScoringModel.h"
#include "simulation/SeriesSummary.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <string>
#include <type_traits>

namespace zelkor {

namespace {

constexpr int FirstRegulationMinute = 59;         // minutes count down: 59 is the first of a game
constexpr int FirstOvertimeMinute = 4;            // five minutes of sudden death, 4 down to 0
constexpr int LateGameMinute = 1;                 // the late-game rules run from this minute down
constexpr int LastScanIndex = PlayersPerTeam - 1; // pass i looks at roster row i + 1
constexpr std::size_t LineCapacity = 128; // enough for most lines; longer names grow it once

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

void resetGame(PredictionState& state) {
    state.Scorex = 0;
    state.Scorey = 0;
    state.OVERTIME = 0;
    state.Winx = 0;
    state.Tiex = 0;
    state.Winy = 0;
    state.Tiey = 0;
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

// Whether threshold index of a team lies below the draw, and the draw below it: on float
// thresholds for any draw source, on bit limits for the generator's bits.
bool thresholdBelow(const PlayerArray& thresholds, int index, Single draw) {
    return thresholds[index] < draw;
}
bool drawBelow(const PlayerArray& thresholds, int index, Single draw) {
    return draw < thresholds[index];
}
bool thresholdBelow(const BitThresholds& thresholds, int index, std::uint32_t bits) {
    return thresholds.above[static_cast<std::size_t>(index)] <= bits;
}
bool drawBelow(const BitThresholds& thresholds, int index, std::uint32_t bits) {
    return bits < thresholds.notBelow[static_cast<std::size_t>(index)];
}

// The passes whose player the draw hits, one bit each (bit i: pass i, roster row i + 1).
// Player k scores when Cum[k - 1] < draw < Cum[k]; a draw on a threshold scores for nobody.
// All passes are tested at once, without a branch per pass: which ones hit is random.
template <typename Thresholds, typename Draw>
std::uint32_t passesHit(const Thresholds& thresholds, bool thresholdsRise, Draw draw) {
    if (thresholdsRise) {
        // Rising thresholds are all below a draw above the last one, which hits nobody;
        // one compare settles the common minute of a team whose draw is high.
        if (thresholdBelow(thresholds, PlayersPerTeam, draw)) {
            return 0;
        }
        // Otherwise they leave at most one player, the one just above those below the
        // draw; counting them is a few vector compares.
        int below = 0;
        for (int index = 0; index <= PlayersPerTeam; ++index) {
            below += static_cast<int>(thresholdBelow(thresholds, index, draw));
        }
        if (below == 0 || below > PlayersPerTeam || !drawBelow(thresholds, below, draw)) {
            return 0;
        }
        return std::uint32_t{1} << (below - 1);
    }
    std::uint32_t passes = 0;
    for (int index = 0; index <= LastScanIndex; ++index) {
        const auto above = static_cast<std::uint32_t>(thresholdBelow(thresholds, index, draw));
        const auto below = static_cast<std::uint32_t>(drawBelow(thresholds, index + 1, draw));
        passes |= (above & below) << index;
    }
    return passes;
}

void addGameToTallies(PredictionState& state) {
    state.Goalsx += state.Scorex;
    state.Winsx += state.Winx;
    state.Tiesx += state.Tiex;
    state.Goalsy += state.Scorey;
    state.Winsy += state.Winy;
    state.Tiesy += state.Tiey;
}

void startOvertime(PredictionState& state) {
    state.Minute = FirstOvertimeMinute;
    state.OVERTIME = 1;
    state.PENALFLAG = 0;
}

// Writes the goals and final scores into the log, one line each.
class LoggedRecord {
public:
    explicit LoggedRecord(WindowServices& window) : window_(window) { line_.reserve(LineCapacity); }

    void goal(const PredictionState& state, bool visiting, int row) {
        line_.clear();
        line_ += visiting ? state.VISITOR : state.HOME;
        line_ += " score! by ";
        line_ += (visiting ? state.RosterX : state.RosterY).at(row, NameColumn);
        line_ += " at minute ";
        appendNumber(line_, state.Minute);
        line_ += LogLineEnd;
        window_.appendLog(line_);
        window_.goalScored(visiting, row, state.Minute, state.OVERTIME == 1);
    }

    void gameEnded(const PredictionState& state) {
        line_.clear();
        line_ += state.VISITOR;
        line_ += " - ";
        appendNumber(line_, state.Scorex);
        line_ += "  ";
        line_ += state.HOME;
        line_ += " - ";
        appendNumber(line_, state.Scorey);
        line_ += LogLineEnd;
        window_.appendLog(line_);
        window_.gameEnded(state.Scorex, state.Scorey, state.OVERTIME == 1);
    }

private:
    WindowServices& window_;
    std::string line_; // reused for every line
};

// Keeps the goals and final scores as numbers.
class QuietRecord {
public:
    explicit QuietRecord(SeriesOutcome& outcome) : outcome_(outcome) { outcome_.goals.clear(); }

    void goal(const PredictionState& state, bool visiting, int row) {
        outcome_.goals.push_back(
            {static_cast<std::uint8_t>(state.match), static_cast<std::uint8_t>(row),
             static_cast<std::int8_t>(state.Minute), visiting, state.OVERTIME == 1});
    }

    void gameEnded(const PredictionState& state) {
        outcome_.games[static_cast<std::size_t>(state.match - 1)] = {state.Scorex, state.Scorey,
                                                                     state.OVERTIME == 1};
    }

private:
    SeriesOutcome& outcome_;
};

// One series on the draws of type Draws (the generator itself, so that its draws inline,
// or any draw source), telling record of every goal and every game's end.
template <typename Draws, typename Record> class SeriesPlay {
    // On the generator the minute's draws are compared as the bits they are made of,
    // against limits that give the same answers (DrawThresholds.h): no float per draw.
    static constexpr bool OnBits = std::is_same_v<Draws, Xoshiro256StarStar>;
    using GoalDraw = std::conditional_t<OnBits, std::uint32_t, Single>;

public:
    SeriesPlay(PredictionState& state, Draws& draws, Record& record, RateCache& rates)
        : state_(state), draws_(draws), record_(record), rates_(rates) {}

    void play(SeedSource& seeds) {
        start(seeds);
        playGames(GamesPerSeries);
    }

    // One game, as the first of a series, on the draws as they stand.
    void playOne() {
        prepare();
        playGames(1);
    }

private:
    void start(SeedSource& seeds) {
        prepare();
        draws_.reseed(seeds.seriesSeed());
    }

    // The games up to the one numbered last.
    void playGames(int last) {
        try {
            while (state_.match <= last) {
                playGame();
            }
        } catch (...) {
            // An error ends the series where it happens; the state shows that minute.
            showDraws();
            rates_.storeInto(state_);
            throw;
        }
        showDraws();
        rates_.storeInto(state_);
    }

    // Everything a series sets up but the reseed.
    void prepare() {
        state_.GaaScale = toSingle(GaaScaleValue, "GaaScale");
        state_.LeagueRatio = toSingle(LeagueRatioValue, "LeagueRatio");
        state_.Rndx = 0;
        state_.Rndy = 0;
        state_.Winsx = 0;
        state_.Tiesx = 0;
        state_.Goalsx = 0;
        state_.Winsy = 0;
        state_.Tiesy = 0;
        state_.Goalsy = 0;
        // A series ended by an error leaves its game unfinished; the next one must not
        // inherit that game's score.
        resetGame(state_);
        if constexpr (OnBits) {
            penaltyLimits_ = penaltyLimitsOf(state_.PENH, state_.PENR);
        }
        state_.match = 1;
    }

    // A goal draw of the minute; shown is its place in the state.
    GoalDraw takeGoalDraw(Single& shown) {
        if constexpr (OnBits) {
            // The state is given the draw only when the series ends or a rule reads it.
            goalDrawsUnshown_ = true;
            return draws_.nextDrawBits();
        } else {
            shown = toSingle(minuteDrawValue(draws_.nextDraw()), "the draw of the minute");
            return shown;
        }
    }

    // Writes the draws kept as bits into the state, as the float draws would have left it.
    void showDraws() {
        if constexpr (OnBits) {
            if (goalDrawsUnshown_) {
                state_.Rndx = minuteDrawOfBits(visitorDraw_);
                state_.Rndy = minuteDrawOfBits(homeDraw_);
                goalDrawsUnshown_ = false;
            }
            if (penaltyDrawsUnshown_) {
                state_.penaltyx = penaltyBits_.homeDraw();
                state_.penaltyy = penaltyBits_.visitorDraw();
                penaltyDrawsUnshown_ = false;
            }
        }
    }

    void playMinute() {
        // 1. The two goal draws of the minute, visitors first.
        visitorDraw_ = takeGoalDraw(state_.Rndx);
        homeDraw_ = takeGoalDraw(state_.Rndy);
        // 2. The goalie and finishing factors. Their inputs are fixed for the series:
        // computed in its first minute, where any fault of theirs is raised.
        if (!factorsKnown_) {
            computeGoalieFactors(state_);
            computeFinishFactors(state_);
            factorsKnown_ = true;
        }
        // 3. The penalties of the minute and the thresholds under the multipliers they
        // leave in force.
        if (state_.Minute <= LateGameMinute) {
            applyLateMinutePenalties();
        } else {
            applyPenalties();
        }
        // 4. Who scores.
        scanForGoals();
    }

    // Even strength until a penalty says otherwise; then the late-game rules of the last
    // two minutes of a period, and the penalty model.
    void applyLateMinutePenalties() {
        // These rules draw as floats and write their draws into the state themselves.
        showDraws();
        rates_.storeInto(state_);
        resetMultipliers(state_);
        LATEGAME(state_, draws_);
        PENAL(state_, draws_);
        rates_.rebuild(state_);
    }

    // Before the last two minutes the multipliers follow from the calls of the one
    // penalty model alone, so the thresholds of each set of calls are kept for the run:
    // most minutes make the draws, two compares and a lookup, and leave the multipliers
    // in the cache rather than in the state.
    void applyPenalties() {
        PenaltyCalls calls;
        if constexpr (OnBits) {
            calls = drawPenaltyCallBits(draws_, state_.Minute, penaltyLimits_, penaltyBits_);
            penaltyDrawsUnshown_ = true;
        } else {
            calls = drawPenaltyCalls(draws_, state_.Minute, state_.PENH, state_.PENR,
                                     state_.penaltyx, state_.penaltyy);
        }
        if (rates_.useCalls(calls)) {
            return;
        }
        rates_.storeInto(state_);
        resetMultipliers(state_);
        applyPenaltyCalls(state_, calls);
        rates_.rebuild(state_);
        rates_.keepCalls(calls);
    }

    // The passes run by roster row, visitors first on each row; in overtime the first goal
    // ends the scan.
    void scanForGoals() {
        PredictionState& state = state_;
        const auto& visitorThresholds = thresholds(true);
        const auto& homeThresholds = thresholds(false);
        // Both draws above every threshold, as in most minutes: nobody scores.
        if (thresholdBelow(visitorThresholds, PlayersPerTeam, visitorDraw_) &&
            thresholdBelow(homeThresholds, PlayersPerTeam, homeDraw_)) {
            return;
        }
        const std::uint32_t visitorPasses =
            passesHit(visitorThresholds, rates_.visitorThresholdsRise(), visitorDraw_);
        const std::uint32_t homePasses =
            passesHit(homeThresholds, rates_.homeThresholdsRise(), homeDraw_);
        // Only a goal changes the scores, so the passes without one can be left out.
        for (std::uint32_t passes = visitorPasses | homePasses; passes != 0; passes &= passes - 1) {
            const int index = std::countr_zero(passes);
            if ((visitorPasses >> index & 1U) != 0) {
                record_.goal(state, true, index + 1);
                ++state.Scorex;
            }
            if (state.OVERTIME == 1 && state.Scorex > state.Scorey) {
                return;
            }
            if ((homePasses >> index & 1U) != 0) {
                record_.goal(state, false, index + 1);
                ++state.Scorey;
            }
            if (state.OVERTIME == 1 && state.Scorey > state.Scorex) {
                return;
            }
        }
    }

    // A team's thresholds of the minute in the form its draws are compared with.
    const auto& thresholds(bool visiting) const {
        if constexpr (OnBits) {
            return visiting ? rates_.visitorBitThresholds() : rates_.homeBitThresholds();
        } else {
            return visiting ? rates_.visitorThresholds() : rates_.homeThresholds();
        }
    }

    // Regulation from minute 59 down to 0, then sudden-death overtime from 4 when level.
    void playMinutes() {
        state_.PENALFLAG = 0;
        // The countdown runs on a plain int, whose range is plain, rather than on the
        // state's checked Integer; the state is given each minute.
        int minute = FirstRegulationMinute;
        for (;;) {
            state_.Minute = minute;
            playMinute();
            if (state_.OVERTIME == 1 && state_.Scorex != state_.Scorey) {
                return;
            }
            --minute;
            if (minute >= 0) {
                continue;
            }
            state_.Minute = minute;
            if (state_.Scorex == state_.Scorey && state_.OVERTIME == 0) {
                startOvertime(state_);
                minute = state_.Minute;
                continue;
            }
            return;
        }
    }

    // A level game of a season with shootouts: the winner, by one draw after the game's
    // last minute, is credited with one goal, as the league's tables count it.
    void playShootout() {
        if (draws_.nextDraw() < state_.shootoutVisitorChance) {
            ++state_.Scorex;
        } else {
            ++state_.Scorey;
        }
    }

    void playGame() {
        playMinutes();
        if (state_.shootout && state_.Scorex == state_.Scorey) {
            playShootout();
        }
        OUTCOME(state_);
        record_.gameEnded(state_);
        addGameToTallies(state_);
        resetGame(state_);
        ++state_.match;
    }

    PredictionState& state_;
    Draws& draws_;
    Record& record_;
    RateCache& rates_;
    bool factorsKnown_ = false;
    GoalDraw visitorDraw_{};
    GoalDraw homeDraw_{};
    // On the generator: the limits of the series' penalty chances, the deciding bits of
    // the last call, and which draws the state does not show yet.
    PenaltyLimits penaltyLimits_;
    PenaltyBits penaltyBits_;
    bool goalDrawsUnshown_ = false;
    bool penaltyDrawsUnshown_ = false;
};

template <typename Record>
void playSeries(PredictionState& state, DrawSource& draws, SeedSource& seeds, Record& record,
                RateCache& rates) {
    if (auto* generator = dynamic_cast<Xoshiro256StarStar*>(&draws)) {
        SeriesPlay<Xoshiro256StarStar, Record>(state, *generator, record, rates).play(seeds);
    } else {
        SeriesPlay<DrawSource, Record>(state, draws, record, rates).play(seeds);
    }
}

template <typename Record>
void playOneGame(PredictionState& state, DrawSource& draws, Record& record, RateCache& rates) {
    if (auto* generator = dynamic_cast<Xoshiro256StarStar*>(&draws)) {
        SeriesPlay<Xoshiro256StarStar, Record>(state, *generator, record, rates).playOne();
    } else {
        SeriesPlay<DrawSource, Record>(state, draws, record, rates).playOne();
    }
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
    LoggedRecord record(window);
    RateCache rates;
    playSeries(state, draws, seeds, record, rates);
    SeriesSummary(state, window);
}

void playQuietSeries(PredictionState& state, DrawSource& draws, SeedSource& seeds,
                     SeriesOutcome& outcome) {
    RateCache rates;
    playQuietSeries(state, draws, seeds, outcome, rates);
}

void playQuietSeries(PredictionState& state, DrawSource& draws, SeedSource& seeds,
                     SeriesOutcome& outcome, RateCache& rates) {
    QuietRecord record(outcome);
    playSeries(state, draws, seeds, record, rates);
}

void playQuietGame(PredictionState& state, DrawSource& draws, SeriesOutcome& outcome,
                   RateCache& rates) {
    QuietRecord record(outcome);
    playOneGame(state, draws, record, rates);
}

} // namespace zelkor
