#include "season/RatingsFit.h"

#include "core/Errors.h"
#include "engine/InputChecks.h"
#include "odds/ManySeries.h"
#include "simulation/GameLoop.h"
#include "simulation/Penalties.h"
#include "teamdata/RosterReader.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <set>

namespace zelkor {

namespace {

constexpr double MinutesPerGame = 60;
constexpr double PlainPenaltyMinutes = 55; // minutes 59 to 5 draw penalties plainly
constexpr double LatePenaltyMinutes = 5;   // minutes 4 to 0 draw them narrowed
constexpr double OvertimeMinutes = 5;
// The narrowed draws of the last five minutes, as the penalty model takes them.
constexpr double HomeLateOffset = penalty_rules::HomeLateOffset;
constexpr double HomeLateScale = penalty_rules::HomeLateScale;
constexpr double VisitingLateOffset = penalty_rules::VisitingLateOffset;
constexpr double VisitingLateScale = penalty_rules::VisitingLateScale;

constexpr int AnalyticRounds = 40; // offence and defence updates; they settle within about 20
constexpr int InnerSteps = 3;      // level, strength and deviation updates within one update
constexpr int MostScoreSum = 30;   // goals of one side beyond which a level score is left out
// The short simulation: at most this many of the season's games, so many series each.
constexpr std::size_t ShortSimulationGames = 60;
constexpr std::uint64_t ShortSimulationSeries = 10;
constexpr std::uint64_t FitSeed = 0x5EA5'0F17'0000'0001; // fixed: a fit is repeatable
// A calibration step is bounded so that one noisy team cannot run away.
constexpr double LargestStep = 2.0;

// League-typical ratings when neither totals nor a prior give a club's: the built-in
// table's average rows.
constexpr std::string_view AverageClub = "AVG";
TeamRating typicalRating(bool home) {
    const RatingTable& builtin = *RatingTable::builtin();
    return *(home ? builtin.homeRating(AverageClub) : builtin.roadRating(AverageClub));
}

enum Venue { Road = 0, Home = 1 };

struct Club {
    std::string code;
    double unit = 0; ///< goals per game of the roster over its finishing factor
    TeamRating rating[2];
    TeamRating prior[2];
    bool rated = false; ///< the prior rates it at both venues
};

// A game as the fit sees it: the clubs' indices, the goals through overtime (and the
// shootout goal when the simulations play one), and the opposing goalies' terms.
struct FitGame {
    int visitor = 0;
    int home = 0;
    double visitorGoals = 0;
    double homeGoals = 0;
    double visitorGaaTerm = 0; ///< over the goalie factor of the home goalie
    double homeGaaTerm = 0;
    double weight = 1; ///< how much the game counts: less the older it is
};

// A club's strength of each kind, or a league level of each kind.
struct Strength {
    double offence = 1;
    double defence = 1;
};

// Recency-weighted goals and expected goals at rating 1, by club and venue.
struct ClubSums {
    std::vector<std::array<double, 2>> goals;
    std::vector<std::array<double, 2>> units;
};

// Days since 1970 of a YYYY-MM-DD date; none for any other text.
std::optional<int> dayNumber(const std::string& date) {
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    if (date.size() != 10 || std::sscanf(date.c_str(), "%4d-%2u-%2u", &year, &month, &day) != 3) {
        return std::nullopt;
    }
    const std::chrono::year_month_day ymd{std::chrono::year{year}, std::chrono::month{month},
                                          std::chrono::day{day}};
    if (!ymd.ok()) {
        return std::nullopt;
    }
    return static_cast<int>(std::chrono::sys_days{ymd}.time_since_epoch().count());
}

// Each game's weight: one half per recencyHalfLife days before the last game.
std::vector<double> recencyWeights(const std::vector<ResultRow>& games, double halfLife) {
    std::vector<double> weights(games.size(), 1.0);
    if (!(halfLife > 0)) {
        return weights;
    }
    std::vector<std::optional<int>> days;
    std::optional<int> last;
    for (const ResultRow& row : games) {
        days.push_back(dayNumber(row.date));
        if (days.back() && (!last || *days.back() > *last)) {
            last = days.back();
        }
    }
    for (std::size_t index = 0; index < games.size(); ++index) {
        if (days[index]) {
            weights[index] = std::exp2(-(*last - *days[index]) / halfLife);
        }
    }
    return weights;
}

// A share of the league's rate with the league's counted as priorSeasons seasons of the
// club's own: infinitely many give the league's (1); a negative count or NaN leaves the
// share as it is.
double shrunkShare(double share, double priorSeasons) {
    if (!(priorSeasons >= 0)) {
        return share;
    }
    return std::isinf(priorSeasons) ? 1 : (share + priorSeasons) / (1 + priorSeasons);
}

double clamp01(double value) {
    return std::clamp(value, 0.0, 1.0);
}

double finiteOr(double value, double fallback) {
    return std::isfinite(value) && value >= 0 ? value : fallback;
}

// The inverse of the engine's goalie factor: scoring grows with the opposing goalie's
// average.
double gaaTerm(double gaa) {
    return gaa * GaaScaleValue / GoalieFactorBase;
}

double multiplierOf(double rating, double factor) {
    return std::max(0.0, std::nearbyint(rating * factor));
}

// The share of a minute's scoring a side keeps on average under the penalty model, given
// its own and the opponent's penalty chance and its multipliers.
double minuteShare(double ownPenalty, double opponentPenalty, double shortHanded,
                   double powerPlay) {
    return (1 - ownPenalty + ownPenalty * shortHanded) *
           (1 - opponentPenalty + opponentPenalty * powerPlay);
}

struct SideBoost {
    double regulation = 1; ///< even-strength goals times this are regulation goals
    double late = 1;       ///< the share in the last minutes and overtime
};

// Regulation and late shares of the visitors (visiting true) or the home side.
SideBoost boostOf(const TeamRating& own, const TeamRating& opponent, bool visiting) {
    using namespace penalty_rules;
    const double powerPlay = multiplierOf(own.powerPlay, PowerPlayFactor);
    const double shortHanded = multiplierOf(own.shortHanded, ShortHandedFactor);
    const double ownLate = visiting
                               ? clamp01((own.penalty - VisitingLateOffset) / VisitingLateScale)
                               : clamp01((own.penalty - HomeLateOffset) / HomeLateScale);
    const double opponentLate =
        visiting ? clamp01((opponent.penalty - HomeLateOffset) / HomeLateScale)
                 : clamp01((opponent.penalty - VisitingLateOffset) / VisitingLateScale);
    const double plain = minuteShare(own.penalty, opponent.penalty, shortHanded, powerPlay);
    const double late = minuteShare(ownLate, opponentLate, shortHanded, powerPlay);
    return {(PlainPenaltyMinutes * plain + LatePenaltyMinutes * late) / MinutesPerGame, late};
}

// The chance that two Poisson counts of these means are equal.
double levelChance(double visitorMean, double homeMean) {
    double visitor = std::exp(-visitorMean);
    double home = std::exp(-homeMean);
    double level = visitor * home;
    for (int goals = 1; goals <= MostScoreSum; ++goals) {
        visitor *= visitorMean / goals;
        home *= homeMean / goals;
        level += visitor * home;
    }
    return level;
}

struct ExpectedGoals {
    double visitor = 0;
    double home = 0;
};

class Fitter {
public:
    Fitter(const std::vector<ResultRow>& games, const std::map<std::string, TeamScoring>& scoring,
           const FitOptions& options)
        : options_(options) {
        collectClubs(games, scoring);
        const std::vector<double> weights = recencyWeights(games, options.recencyHalfLife);
        for (std::size_t index = 0; index < games.size(); ++index) {
            addGame(games[index], weights[index]);
        }
        setPriors();
        setSpecialTeams();
    }

    // Poisson maximum likelihood of the offences and defences, each shrunk toward its prior.
    void fit() {
        if (games_.empty()) {
            return;
        }
        for (int round = 0; round < AnalyticRounds; ++round) {
            updateBoosts();
            updateOffences();
            updateBoosts();
            updateDefences();
        }
        updateBoosts();
    }

    ExpectedGoals expected(const FitGame& game, std::size_t index) const {
        const Club& visitor = clubs_[static_cast<std::size_t>(game.visitor)];
        const Club& home = clubs_[static_cast<std::size_t>(game.home)];
        return {evenVisitor(game) * visitor.rating[Road].offence * home.rating[Home].defence *
                    boosts_[index].visitor,
                evenHome(game) * home.rating[Home].offence * visitor.rating[Road].defence *
                    boosts_[index].home};
    }

    // Divides every offence at a venue by the simulated over the analytic goals there.
    void scaleOffences(double road, double home) {
        for (Club& club : clubs_) {
            club.rating[Road].offence = static_cast<Single>(club.rating[Road].offence / road);
            club.rating[Home].offence = static_cast<Single>(club.rating[Home].offence / home);
        }
    }

    RatingTable table() const {
        std::vector<RatedTeam> road;
        std::vector<RatedTeam> home;
        std::set<std::string> written;
        if (options_.prior) {
            for (const RatedTeam& row : options_.prior->road()) {
                const Club* club = find(row.code);
                road.push_back({row.code, club ? club->rating[Road] : row.rating});
                written.insert(row.code);
            }
            for (const RatedTeam& row : options_.prior->home()) {
                const Club* club = find(row.code);
                home.push_back({row.code, club ? club->rating[Home] : row.rating});
            }
        }
        for (const Club& club : clubs_) {
            if (written.count(club.code) == 0) {
                road.push_back({club.code, club.rating[Road]});
            }
            const bool hasHome = options_.prior && options_.prior->homeRating(club.code) != nullptr;
            if (!hasHome) {
                home.push_back({club.code, club.rating[Home]});
            }
        }
        return RatingTable(std::move(road), std::move(home));
    }

    const std::vector<FitGame>& games() const { return games_; }
    const std::vector<std::string>& newClubs() const { return newClubs_; }

private:
    struct Boost {
        double visitor = 1;
        double home = 1;
    };

    const Club* find(const std::string& code) const {
        const auto found = index_.find(code);
        return found == index_.end() ? nullptr : &clubs_[static_cast<std::size_t>(found->second)];
    }

    void collectClubs(const std::vector<ResultRow>& games,
                      const std::map<std::string, TeamScoring>& scoring) {
        // Every club with scoring gets ratings, so that one yet to play can be predicted.
        std::set<std::string> playing;
        for (const ResultRow& row : games) {
            playing.insert(row.visitor);
            playing.insert(row.home);
        }
        std::set<std::string> codes = playing;
        for (const auto& [code, team] : scoring) {
            codes.insert(code);
        }
        for (const std::string& code : codes) {
            const auto found = scoring.find(code);
            if (found == scoring.end()) {
                throw ZelkorError("The ratings fit has no roster scoring of " + code + ".");
            }
            const TeamScoring& team = found->second;
            const double finish = team.goalsPerAssist / LeagueRatioValue;
            if (!(finish > 0) || !(team.goalsPerGame > 0)) {
                if (playing.count(code) == 0) {
                    continue;
                }
                throw ZelkorError("The roster of " + code + " has no goals to fit ratings on.");
            }
            index_[code] = static_cast<int>(clubs_.size());
            clubs_.push_back({code, team.goalsPerGame / finish, {}, {}});
        }
    }

    void addGame(const ResultRow& row, double weight) {
        FitGame game;
        game.weight = weight;
        totalWeight_ += weight;
        game.visitor = index_.at(row.visitor);
        game.home = index_.at(row.home);
        game.visitorGoals = row.visitorGoals;
        game.homeGoals = row.homeGoals;
        // Without shootouts in the simulations the real shootout goal is not the model's.
        if (row.end == GameEnd::Shootout && !options_.shootout) {
            (row.visitorGoals > row.homeGoals ? game.visitorGoals : game.homeGoals) -= 1;
        }
        game.visitorGaaTerm = gaaTerm(goalieGaa(options_, row.home, row.homeGaa));
        game.homeGaaTerm = gaaTerm(goalieGaa(options_, row.visitor, row.visitorGaa));
        games_.push_back(game);
    }

    double evenVisitor(const FitGame& game) const {
        return clubs_[static_cast<std::size_t>(game.visitor)].unit * game.visitorGaaTerm;
    }
    double evenHome(const FitGame& game) const {
        return clubs_[static_cast<std::size_t>(game.home)].unit * game.homeGaaTerm;
    }

    // The prior's row of each club; a club it lacks gets the prior's average (or, without a
    // prior, offences that give the league's goals at defence 1).
    void setPriors() {
        const TeamRating typicalRoad = typicalRating(false);
        const TeamRating typicalHome = typicalRating(true);
        TeamRating typical[2] = {typicalRoad, typicalHome};
        if (options_.prior) {
            typical[Road] = averageOf(options_.prior->road(), typicalRoad);
            typical[Home] = averageOf(options_.prior->home(), typicalHome);
        } else if (!games_.empty()) {
            double goals[2] = {0, 0};
            double even[2] = {0, 0};
            for (const FitGame& game : games_) {
                goals[Road] += game.visitorGoals;
                goals[Home] += game.homeGoals;
                even[Road] +=
                    evenVisitor(game) * boostOf(typicalRoad, typicalHome, true).regulation;
                even[Home] += evenHome(game) * boostOf(typicalHome, typicalRoad, false).regulation;
            }
            for (const Venue venue : {Road, Home}) {
                typical[venue].defence = 1;
                typical[venue].offence =
                    static_cast<Single>(even[venue] > 0 ? goals[venue] / even[venue] : 1);
            }
        }
        for (Club& club : clubs_) {
            const TeamRating* road =
                options_.prior ? options_.prior->roadRating(club.code) : nullptr;
            const TeamRating* home =
                options_.prior ? options_.prior->homeRating(club.code) : nullptr;
            club.prior[Road] = road ? *road : typical[Road];
            club.prior[Home] = home ? *home : typical[Home];
            club.rated = road != nullptr && home != nullptr;
            if (options_.prior && (road == nullptr || home == nullptr)) {
                newClubs_.push_back(club.code);
            }
            club.rating[Road] = club.prior[Road];
            club.rating[Home] = club.prior[Home];
        }
        setPriorStrengths();
    }

    // The prior's league level at each venue, and each club's one strength of each kind: the
    // mean of its two venues over the level, carried priorCarry of the way from the league's
    // mean. The prior's venue deviations are not kept. The ratings start from them.
    void setPriorStrengths() {
        const std::size_t count = clubs_.size();
        for (const Venue venue : {Road, Home}) {
            Strength sum{0, 0};
            for (const Club& club : clubs_) {
                sum.offence += club.prior[venue].offence;
                sum.defence += club.prior[venue].defence;
            }
            priorLevel_[venue] =
                count > 0 ? Strength{sum.offence / double(count), sum.defence / double(count)}
                          : Strength{};
        }
        // A club's scoring is its roster's times its offence: the whole of it is carried,
        // so that a club with a strong roster comes back toward the league like any other.
        const double carry = options_.priorCarry;
        const auto mean = [](double road, double home) { return (road + home) / 2; };
        double scoringSum = 0;
        for (const Club& club : clubs_) {
            scoringSum += club.unit * mean(club.prior[Road].offence / priorLevel_[Road].offence,
                                           club.prior[Home].offence / priorLevel_[Home].offence);
        }
        const double meanScoring = count > 0 ? scoringSum / double(count) : 0;
        priorStrength_.clear();
        for (const Club& club : clubs_) {
            const double offence = mean(club.prior[Road].offence / priorLevel_[Road].offence,
                                        club.prior[Home].offence / priorLevel_[Home].offence);
            const double scoring = meanScoring + carry * (club.unit * offence - meanScoring);
            const double defence = mean(club.prior[Road].defence / priorLevel_[Road].defence,
                                        club.prior[Home].defence / priorLevel_[Home].defence);
            // A club the prior does not rate starts from its roster at the league's level.
            priorStrength_.push_back(club.rated ? Strength{finiteOr(scoring / club.unit, 1),
                                                           std::max(0.0, 1 + carry * (defence - 1))}
                                                : Strength{});
        }
        level_[Road] = priorLevel_[Road];
        level_[Home] = priorLevel_[Home];
        strength_ = priorStrength_;
        deviation_.assign(count, {Strength{}, Strength{}});
        for (std::size_t club = 0; club < count; ++club) {
            for (const Venue venue : {Road, Home}) {
                TeamRating& rating = clubs_[club].rating[venue];
                rating.offence = static_cast<Single>(
                    finiteOr(level_[venue].offence * strength_[club].offence, rating.offence));
                rating.defence = static_cast<Single>(
                    finiteOr(level_[venue].defence * strength_[club].defence, rating.defence));
            }
        }
    }

    // The mean of each rating over the rows of the clubs that play, or of all rows when none.
    TeamRating averageOf(const std::vector<RatedTeam>& rows, const TeamRating& fallback) const {
        double sums[5] = {0, 0, 0, 0, 0};
        int count = 0;
        for (const bool playingOnly : {true, false}) {
            for (const RatedTeam& row : rows) {
                if (playingOnly && index_.count(row.code) == 0) {
                    continue;
                }
                const TeamRating& r = row.rating;
                sums[0] += r.offence;
                sums[1] += r.penalty;
                sums[2] += r.powerPlay;
                sums[3] += r.shortHanded;
                sums[4] += r.defence;
                ++count;
            }
            if (count > 0) {
                break;
            }
        }
        if (count == 0) {
            return fallback;
        }
        return {static_cast<Single>(sums[0] / count), static_cast<Single>(sums[1] / count),
                static_cast<Single>(sums[2] / count), static_cast<Single>(sums[3] / count),
                static_cast<Single>(sums[4] / count)};
    }

    // Penalty, power play and short-handed ratings as the club's totals stand to the
    // league's, on the typical values; clubs without totals keep their prior's.
    void setSpecialTeams() {
        double penalties = 0;
        double games = 0;
        double powerPlayGoals = 0;
        double chances = 0;
        double shortHandedGoals = 0;
        double shortHanded = 0;
        for (const auto& [code, team] : options_.specialTeams) {
            if (team.games <= 0) {
                continue;
            }
            penalties += team.timesShortHanded;
            games += team.games;
            powerPlayGoals += team.powerPlayGoals;
            chances += team.powerPlayChances;
            shortHandedGoals += team.shortHandedGoalsFor;
            shortHanded += team.timesShortHanded;
        }
        for (Club& club : clubs_) {
            const auto found = options_.specialTeams.find(club.code);
            if (found == options_.specialTeams.end() || found->second.games <= 0) {
                continue;
            }
            const TeamSpecialTeams& team = found->second;
            const double penaltyShare =
                penalties > 0 ? (double(team.timesShortHanded) / team.games) / (penalties / games)
                              : 1;
            const double powerPlayShare =
                powerPlayGoals > 0 && team.powerPlayChances > 0
                    ? (double(team.powerPlayGoals) / team.powerPlayChances) /
                          (powerPlayGoals / chances)
                    : 1;
            const double shortHandedShare =
                shortHandedGoals > 0 && team.timesShortHanded > 0
                    ? (double(team.shortHandedGoalsFor) / team.timesShortHanded) /
                          (shortHandedGoals / shortHanded)
                    : 1;
            const double penaltyShrunk = shrunkShare(penaltyShare, options_.penaltySeasons);
            const double powerPlayShrunk =
                shrunkShare(powerPlayShare, options_.specialGoalsSeasons);
            const double shortHandedShrunk =
                shrunkShare(shortHandedShare, options_.specialGoalsSeasons);
            for (const Venue venue : {Road, Home}) {
                const TeamRating typical = typicalRating(venue == Home);
                TeamRating& rating = club.rating[venue];
                rating.penalty = static_cast<Single>(clamp01(typical.penalty * penaltyShrunk));
                rating.powerPlay =
                    static_cast<Single>(finiteOr(typical.powerPlay * powerPlayShrunk, 0));
                rating.shortHanded =
                    static_cast<Single>(finiteOr(typical.shortHanded * shortHandedShrunk, 0));
                club.prior[venue].penalty = rating.penalty;
                club.prior[venue].powerPlay = rating.powerPlay;
                club.prior[venue].shortHanded = rating.shortHanded;
            }
        }
    }

    // What penalties, overtime and (when played) the shootout add to each side's goals
    // at the ratings now.
    void updateBoosts() {
        boosts_.resize(games_.size());
        for (std::size_t index = 0; index < games_.size(); ++index) {
            const FitGame& game = games_[index];
            const Club& visitor = clubs_[static_cast<std::size_t>(game.visitor)];
            const Club& home = clubs_[static_cast<std::size_t>(game.home)];
            const SideBoost visiting = boostOf(visitor.rating[Road], home.rating[Home], true);
            const SideBoost hosting = boostOf(home.rating[Home], visitor.rating[Road], false);
            const double visitorEven =
                evenVisitor(game) * visitor.rating[Road].offence * home.rating[Home].defence;
            const double homeEven =
                evenHome(game) * home.rating[Home].offence * visitor.rating[Road].defence;
            const double visitorMean = visitorEven * visiting.regulation;
            const double homeMean = homeEven * hosting.regulation;
            const double level = levelChance(visitorMean, homeMean);
            const double visitorMinute = visitorEven * visiting.late / MinutesPerGame;
            const double homeMinute = homeEven * hosting.late / MinutesPerGame;
            const double perMinute = visitorMinute + homeMinute;
            const double noGoal = std::exp(-OvertimeMinutes * perMinute);
            double visitorExtra = 0;
            double homeExtra = 0;
            if (perMinute > 0) {
                visitorExtra = level * (1 - noGoal) * visitorMinute / perMinute;
                homeExtra = level * (1 - noGoal) * homeMinute / perMinute;
            }
            if (options_.shootout) {
                visitorExtra += level * noGoal * 0.5;
                homeExtra += level * noGoal * 0.5;
            }
            boosts_[index] = {visitorEven > 0 ? visiting.regulation + visitorExtra / visitorEven
                                              : 1,
                              homeEven > 0 ? hosting.regulation + homeExtra / homeEven : 1};
        }
    }

    // One field (offence or defence) of every club at both venues: a league level a venue
    // (free for offences, shrunk toward the prior's by levelGames; the prior's for
    // defences, so that their product is identified),
    // one strength a club carried from the prior and shrunk toward it by priorGames, and a
    // venue deviation shrunk toward 1 by venueGames. Each game counts by its recency weight.
    void fitField(const ClubSums& sums, bool freeLevel, double Strength::*field,
                  Single TeamRating::*ratingField) {
        const std::size_t count = clubs_.size();
        double levelGoals[2] = {0, 0};
        double unitSum = 0;
        for (std::size_t club = 0; club < count; ++club) {
            for (const Venue venue : {Road, Home}) {
                levelGoals[venue] += sums.goals[club][venue];
                unitSum += sums.units[club][venue] * level_[venue].*field;
            }
        }
        // Expected goals of one club-game at strength 1: the prior's weight per game.
        const double perGame = totalWeight_ > 0 ? unitSum / (2 * totalWeight_) : 0;
        const double priorWeight = options_.priorGames * perGame;
        const double venueWeight = options_.venueGames * perGame;
        for (int step = 0; step < InnerSteps; ++step) {
            if (freeLevel) {
                for (const Venue venue : {Road, Home}) {
                    double expected = 0;
                    for (std::size_t club = 0; club < count; ++club) {
                        expected += sums.units[club][venue] * strength_[club].*field *
                                    deviation_[club][venue].*field;
                    }
                    level_[venue].*field =
                        shrunkLevel(levelGoals[venue], expected, totalWeight_,
                                    priorLevel_[venue].*field, options_.levelGames);
                }
            }
            for (std::size_t club = 0; club < count; ++club) {
                double goals = 0;
                double expected = 0;
                for (const Venue venue : {Road, Home}) {
                    goals += sums.goals[club][venue];
                    expected += sums.units[club][venue] * level_[venue].*field *
                                deviation_[club][venue].*field;
                }
                const double prior = priorStrength_[club].*field;
                strength_[club].*field =
                    finiteOr((goals + priorWeight * prior) / (expected + priorWeight), prior);
                for (const Venue venue : {Road, Home}) {
                    const double atOne = level_[venue].*field * strength_[club].*field;
                    const double shrink = venueWeight * atOne;
                    deviation_[club][venue].*field =
                        finiteOr((sums.goals[club][venue] + shrink) /
                                     (sums.units[club][venue] * atOne + shrink),
                                 1.0);
                }
            }
        }
        for (std::size_t club = 0; club < count; ++club) {
            for (const Venue venue : {Road, Home}) {
                clubs_[club].rating[venue].*ratingField = static_cast<Single>(
                    level_[venue].*field * strength_[club].*field * deviation_[club][venue].*field);
            }
        }
    }

    // Goals and expected goals at rating 1 of every club at each venue, recency weighted.
    template <typename RoadSide, typename HomeSide>
    ClubSums sumsOf(RoadSide roadSide, HomeSide homeSide) const {
        ClubSums sums;
        sums.goals.assign(clubs_.size(), {0, 0});
        sums.units.assign(clubs_.size(), {0, 0});
        for (std::size_t index = 0; index < games_.size(); ++index) {
            const FitGame& game = games_[index];
            const double weight = game.weight;
            const auto [roadGoals, roadUnit] = roadSide(game, index);
            const auto [homeGoals, homeUnit] = homeSide(game, index);
            const auto visitor = static_cast<std::size_t>(game.visitor);
            const auto home = static_cast<std::size_t>(game.home);
            sums.goals[visitor][Road] += weight * roadGoals;
            sums.units[visitor][Road] += weight * roadUnit;
            sums.goals[home][Home] += weight * homeGoals;
            sums.units[home][Home] += weight * homeUnit;
        }
        return sums;
    }

    void updateOffences() {
        // The visitors' goals set the road offences; the home goals the home offences.
        const ClubSums sums = sumsOf(
            [this](const FitGame& g, std::size_t i) {
                return std::pair{g.visitorGoals,
                                 evenVisitor(g) * defenceOf(g.home, Home) * boosts_[i].visitor};
            },
            [this](const FitGame& g, std::size_t i) {
                return std::pair{g.homeGoals,
                                 evenHome(g) * defenceOf(g.visitor, Road) * boosts_[i].home};
            });
        fitField(sums, true, &Strength::offence, &TeamRating::offence);
    }

    void updateDefences() {
        // A club's road defence multiplies the home side's goals, and the other way round.
        const ClubSums sums = sumsOf(
            [this](const FitGame& g, std::size_t i) {
                return std::pair{g.homeGoals,
                                 evenHome(g) * offenceOf(g.home, Home) * boosts_[i].home};
            },
            [this](const FitGame& g, std::size_t i) {
                return std::pair{g.visitorGoals,
                                 evenVisitor(g) * offenceOf(g.visitor, Road) * boosts_[i].visitor};
            });
        fitField(sums, false, &Strength::defence, &TeamRating::defence);
    }

    double defenceOf(int club, Venue venue) const {
        return clubs_[static_cast<std::size_t>(club)].rating[venue].defence;
    }
    double offenceOf(int club, Venue venue) const {
        return clubs_[static_cast<std::size_t>(club)].rating[venue].offence;
    }

    const FitOptions& options_;
    std::vector<Club> clubs_;
    std::map<std::string, int> index_;
    std::vector<FitGame> games_;
    std::vector<Boost> boosts_;
    std::vector<std::string> newClubs_;
    double totalWeight_ = 0;
    Strength priorLevel_[2];
    Strength level_[2];
    std::vector<Strength> priorStrength_;
    std::vector<Strength> strength_;
    std::vector<std::array<Strength, 2>> deviation_;
};

// Goals per game of one game's many series under the table.
struct SimulatedGoals {
    double visitor = 0;
    double home = 0;
};

std::optional<SimulatedGoals> simulate(const ResultRow& row,
                                       const std::shared_ptr<const RatingTable>& table,
                                       const std::filesystem::path& rosterFolder,
                                       const FitOptions& options, std::uint64_t series,
                                       std::uint64_t seed, std::stop_token stop) {
    ManySeriesRequest request;
    request.visitor = row.visitor;
    request.home = row.home;
    request.visitorGaa = gaaEntry(goalieGaa(options, row.visitor, row.visitorGaa));
    request.homeGaa = gaaEntry(goalieGaa(options, row.home, row.homeGaa));
    request.rosterFolder = rosterFolder;
    request.series = series;
    request.baseSeed = seed;
    request.ratings = table;
    request.shootout = options.shootout;
    const std::optional<OddsTally> tally = playManySeries(request, stop);
    if (!tally || tally->games == 0) {
        return std::nullopt;
    }
    const auto games = static_cast<double>(tally->games);
    return SimulatedGoals{static_cast<double>(tally->goalsVisitor) / games,
                          static_cast<double>(tally->goalsHome) / games};
}

// Goals through overtime as the simulations count them.
std::pair<double, double> realGoals(const ResultRow& row, bool shootout) {
    double visitor = row.visitorGoals;
    double home = row.homeGoals;
    if (row.end == GameEnd::Shootout && !shootout) {
        (visitor > home ? visitor : home) -= 1;
    }
    return {visitor, home};
}

RatingTable scaledTable(const RatingTable& table, const std::map<std::string, double>& offence,
                        const std::map<std::string, double>& defence) {
    std::vector<RatedTeam> rows[2] = {table.road(), table.home()};
    for (int venue = 0; venue < 2; ++venue) {
        const std::string suffix = venue == 0 ? "/road" : "/home";
        for (RatedTeam& row : rows[venue]) {
            if (const auto found = offence.find(row.code + suffix); found != offence.end()) {
                row.rating.offence = static_cast<Single>(row.rating.offence * found->second);
            }
            if (const auto found = defence.find(row.code + suffix); found != defence.end()) {
                row.rating.defence = static_cast<Single>(row.rating.defence * found->second);
            }
        }
    }
    return RatingTable(std::move(rows[0]), std::move(rows[1]));
}

double boundedStep(double real, double simulated) {
    if (!(simulated > 0) || !(real > 0)) {
        return 1;
    }
    // Half the log ratio on each of the two ratings that make the goals.
    return std::clamp(std::sqrt(real / simulated), 1 / LargestStep, LargestStep);
}

} // namespace

double shrunkLevel(double goals, double expectedAtOne, double games, double priorLevel,
                   double levelGames) {
    if (!(games > 0) || !(expectedAtOne > 0)) {
        return priorLevel;
    }
    // The prior's level as levelGames games of the data's expectation.
    const double priorWeight = levelGames * expectedAtOne / games;
    return finiteOr((goals + priorWeight * priorLevel) / (expectedAtOne + priorWeight), priorLevel);
}

Single goalieGaa(const FitOptions& options, const std::string& code, Single starterGaa) {
    const auto found = options.gaa.find(code);
    if (found == options.gaa.end() || !(found->second > 0) || !(starterGaa > 0)) {
        return starterGaa;
    }
    return static_cast<Single>(double(options.defaultGaa) * starterGaa / found->second);
}

bool VenueCheck::within(double tolerance) const {
    return std::abs(simulatedFor - goalsFor) <= tolerance * goalsFor &&
           std::abs(simulatedAgainst - goalsAgainst) <= tolerance * goalsAgainst;
}

std::map<std::string, TeamScoring> readTeamScoring(const std::filesystem::path& rosterFolder,
                                                   const std::vector<std::string>& codes) {
    std::map<std::string, TeamScoring> scoring;
    for (const std::string& code : codes) {
        PredictionState state;
        ReadRosters(state, code, code, rosterFolder);
        TeamScoring team;
        for (int player = 1; player <= PlayersPerTeam; ++player) {
            if (state.Gamex[player] > 0) {
                team.goalsPerGame += static_cast<double>(state.GOALX[player]) / state.Gamex[player];
            }
        }
        team.goalsPerAssist = state.Ratiox;
        scoring[code] = team;
    }
    return scoring;
}

RatingsFit fitRatings(const std::vector<ResultRow>& games,
                      const std::map<std::string, TeamScoring>& scoring,
                      const std::filesystem::path& rosterFolder, const FitOptions& options) {
    Fitter fitter(games, scoring, options);
    fitter.fit();
    // 1. What the analytic goals miss, measured on a sample of the season's games.
    if (!games.empty()) {
        const auto table = std::make_shared<const RatingTable>(fitter.table());
        const std::size_t step = std::max<std::size_t>(1, games.size() / ShortSimulationGames);
        double simulated[2] = {0, 0};
        double analytic[2] = {0, 0};
        for (std::size_t index = 0; index < games.size(); index += step) {
            const auto goals = simulate(games[index], table, rosterFolder, options,
                                        ShortSimulationSeries, seriesSeed(FitSeed, index), {});
            if (!goals) {
                continue;
            }
            const ExpectedGoals expected = fitter.expected(fitter.games()[index], index);
            simulated[Road] += goals->visitor;
            simulated[Home] += goals->home;
            analytic[Road] += expected.visitor;
            analytic[Home] += expected.home;
        }
        if (simulated[Road] > 0 && simulated[Home] > 0 && analytic[Road] > 0 &&
            analytic[Home] > 0) {
            fitter.scaleOffences(simulated[Road] / analytic[Road],
                                 simulated[Home] / analytic[Home]);
        }
    }
    RatingsFit fit;
    fit.table = fitter.table();
    fit.newClubs = fitter.newClubs();
    return fit;
}

std::optional<RatingsFit> calibrateRatings(RatingsFit fit, const std::vector<ResultRow>& games,
                                           const std::filesystem::path& rosterFolder,
                                           const FitOptions& options, int rounds, int seriesPerGame,
                                           std::stop_token stop,
                                           const std::function<void(int, int)>& progress) {
    const int total = (rounds + 1) * static_cast<int>(games.size());
    int done = 0;
    // The last pass only measures, so that the check describes the table returned.
    for (int round = 0; round <= rounds; ++round) {
        const auto table = std::make_shared<const RatingTable>(fit.table);
        std::map<std::string, TeamFitCheck> checks;
        for (std::size_t index = 0; index < games.size(); ++index) {
            const ResultRow& row = games[index];
            const auto goals = simulate(
                row, table, rosterFolder, options, static_cast<std::uint64_t>(seriesPerGame),
                seriesSeed(FitSeed + static_cast<std::uint64_t>(round) + 1, index), stop);
            if (stop.stop_requested()) {
                return std::nullopt;
            }
            const auto [visitorGoals, homeGoals] = realGoals(row, options.shootout);
            VenueCheck& road = checks[row.visitor].road;
            VenueCheck& home = checks[row.home].home;
            checks[row.visitor].code = row.visitor;
            checks[row.home].code = row.home;
            ++road.games;
            ++home.games;
            road.goalsFor += visitorGoals;
            road.goalsAgainst += homeGoals;
            home.goalsFor += homeGoals;
            home.goalsAgainst += visitorGoals;
            if (goals) {
                road.simulatedFor += goals->visitor;
                road.simulatedAgainst += goals->home;
                home.simulatedFor += goals->home;
                home.simulatedAgainst += goals->visitor;
            }
            if (progress) {
                progress(++done, total);
            }
        }
        fit.check.clear();
        for (auto& [code, check] : checks) {
            for (VenueCheck* venue : {&check.road, &check.home}) {
                if (venue->games > 0) {
                    venue->goalsFor /= venue->games;
                    venue->goalsAgainst /= venue->games;
                    venue->simulatedFor /= venue->games;
                    venue->simulatedAgainst /= venue->games;
                }
            }
            fit.check.push_back(check);
        }
        if (round == rounds) {
            break;
        }
        std::map<std::string, double> offence;
        std::map<std::string, double> defence;
        for (const TeamFitCheck& check : fit.check) {
            offence[check.code + "/road"] =
                boundedStep(check.road.goalsFor, check.road.simulatedFor);
            defence[check.code + "/road"] =
                boundedStep(check.road.goalsAgainst, check.road.simulatedAgainst);
            offence[check.code + "/home"] =
                boundedStep(check.home.goalsFor, check.home.simulatedFor);
            defence[check.code + "/home"] =
                boundedStep(check.home.goalsAgainst, check.home.simulatedAgainst);
        }
        fit.table = scaledTable(fit.table, offence, defence);
    }
    return fit;
}

} // namespace zelkor
