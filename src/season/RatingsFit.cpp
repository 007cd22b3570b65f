#include "season/RatingsFit.h"

#include "core/PredictionState.h"
#include "odds/ManySeries.h"
#include "teamdata/RosterReader.h"
#include "teamdata/TeamRatings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <utility>

namespace zelkor {

namespace {

// A club's expected goals a game at even strength are its players' goals per game times
// its offence and the opponent's defence, over the finishing factor (goals per assist /
// 0.5893) and the opposing goalie's factor (2.776 / GAA / 1.4): this is the constant left.
constexpr double EvenStrengthScale = 0.5893 * 1.4 / 2.776;
// Rounds of the analytic fit; it settles in far fewer.
constexpr int FitRounds = 40;
// Series of the short simulation that measures what the rules add to even strength.
constexpr std::uint64_t MeasuringSeries = 300;
// Bounds that keep a club with a freak start inside what the model can play.
constexpr double LowestFactor = 0.2;
constexpr double HighestFactor = 5.0;

struct Venues {
    TeamRating road;
    TeamRating home;
};

// The league-typical ratings: the built-in average team's.
Venues averageTeam() {
    const auto table = RatingTable::builtin();
    return {*table->roadRating("AVG"), *table->homeRating("AVG")};
}

struct Factors {
    double offence = 1;
    double defence = 1;
};

// One club's four factors, the fit's working values.
struct Club {
    Factors road;
    Factors home;
    Factors roadPrior;
    Factors homePrior;
    bool inPrior = false;
    Venues special; // penalty, power play and short-handed of each venue
};

double geometricMean(const std::vector<double>& values) {
    if (values.empty()) {
        return 1;
    }
    double logSum = 0;
    for (double value : values) {
        logSum += std::log(value);
    }
    return std::exp(logSum / static_cast<double>(values.size()));
}

double bounded(double factor) {
    return std::clamp(factor, LowestFactor, HighestFactor);
}

std::string gaaText(Single gaa) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, gaa).ptr;
    return std::string(text, end);
}

Single gaaOf(const FitOptions& options, const std::string& code) {
    const auto found = options.gaa.find(code);
    return found == options.gaa.end() ? options.defaultGaa : found->second;
}

// Many series of one pairing with a table, as a prediction plays them.
OddsTally simulate(const std::string& visitor, const std::string& home,
                   const std::shared_ptr<const RatingTable>& table,
                   const std::filesystem::path& rosterFolder, const FitOptions& options,
                   std::uint64_t series, std::uint64_t seed) {
    ManySeriesRequest request;
    request.visitor = visitor;
    request.home = home;
    request.visitorGaa = gaaOf(options, visitor);
    request.homeGaa = gaaOf(options, home);
    request.visitorGaaText = gaaText(request.visitorGaa);
    request.homeGaaText = gaaText(request.homeGaa);
    request.rosterFolder = rosterFolder;
    request.series = series;
    request.baseSeed = seed;
    request.threads = 1;
    request.ratings = table;
    request.shootout = options.shootout;
    return *playManySeries(request, std::stop_token{});
}

class AnalyticFit {
public:
    AnalyticFit(const std::vector<ResultRow>& games,
                const std::map<std::string, TeamScoring>& scoring, const FitOptions& options)
        : games_(games), scoring_(scoring), options_(options) {
        const Venues average = averageTeam();
        std::vector<std::string> codes = options_.clubs;
        for (const ResultRow& game : games_) {
            codes.push_back(game.visitor);
            codes.push_back(game.home);
        }
        for (const std::string& code : codes) {
            if (clubs_.count(code) == 0) {
                clubs_[code] = startingClub(code, average);
            }
        }
    }

    RatingsFit fit(const std::filesystem::path& rosterFolder) {
        RatingsFit result;
        // A prior's offences were divided by what the rules add; its clubs are compared
        // at even strength, so that measure is taken once and the fit made again with it.
        for (int pass = 0; pass < (options_.prior ? 2 : 1); ++pass) {
            for (int round = 0; round < FitRounds; ++round) {
                fitRound();
            }
            priorOffenceScale_ = rulesScale(rosterFolder);
        }
        result.table = table(1.0 / priorOffenceScale_);
        for (const auto& [code, club] : clubs_) {
            if (!club.inPrior) {
                result.newClubs.push_back(code);
            }
        }
        return result;
    }

private:
    Club startingClub(const std::string& code, const Venues& average) const {
        Club club;
        club.special = average;
        if (options_.prior) {
            const TeamRating* road = options_.prior->roadRating(code);
            const TeamRating* home = options_.prior->homeRating(code);
            if (road && home) {
                club.inPrior = true;
                club.roadPrior = {road->offence, road->defence};
                club.homePrior = {home->offence, home->defence};
                club.special = {*road, *home};
            }
        }
        club.road = club.roadPrior;
        club.home = club.homePrior;
        if (const auto totals = options_.specialTeams.find(code);
            totals != options_.specialTeams.end()) {
            setSpecialTeams(club.special, totals->second);
        }
        return club;
    }

    // Penalties, power play and short-handed play relative to the league's totals.
    void setSpecialTeams(Venues& special, const TeamSpecialTeams& team) const {
        double shortHanded = 0;
        double games = 0;
        double powerPlayGoals = 0;
        double chances = 0;
        double shortHandedGoals = 0;
        for (const auto& [code, totals] : options_.specialTeams) {
            shortHanded += totals.timesShortHanded;
            games += totals.games;
            powerPlayGoals += totals.powerPlayGoals;
            chances += totals.powerPlayChances;
            shortHandedGoals += totals.shortHandedGoalsFor;
        }
        if (team.games <= 0 || games <= 0 || chances <= 0 || team.powerPlayChances <= 0) {
            return;
        }
        const double penalties =
            (team.timesShortHanded / static_cast<double>(team.games)) / (shortHanded / games);
        const double powerPlay =
            (team.powerPlayGoals / static_cast<double>(team.powerPlayChances)) /
            (powerPlayGoals / chances);
        const double killing = ((team.shortHandedGoalsFor + 1.0) / (team.timesShortHanded + 1.0)) /
                               ((shortHandedGoals + 1.0) / (shortHanded + 1.0));
        const Venues average = averageTeam();
        for (auto [rating, typical] :
             {std::pair{&special.road, average.road}, std::pair{&special.home, average.home}}) {
            rating->penalty =
                static_cast<float>(std::clamp(typical.penalty * penalties, 0.02, 0.6));
            rating->powerPlay =
                static_cast<float>(std::clamp(typical.powerPlay * powerPlay, 0.1, 3.0));
            rating->shortHanded =
                static_cast<float>(std::clamp(typical.shortHanded * killing, 0.0001, 3.0));
        }
    }

    double base(const std::string& code, const std::string& opponent) const {
        const TeamScoring& team = scoring_.at(code);
        return EvenStrengthScale * team.goalsPerGame * gaaOf(options_, opponent) /
               team.goalsPerAssist;
    }

    double visitorRate(const ResultRow& game) const {
        return base(game.visitor, game.home) * clubs_.at(game.visitor).road.offence *
               clubs_.at(game.home).home.defence;
    }

    double homeRate(const ResultRow& game) const {
        return base(game.home, game.visitor) * clubs_.at(game.home).home.offence *
               clubs_.at(game.visitor).road.defence;
    }

    // Goals and expected goals (at factor 1) of each club's four factors.
    struct Sums {
        double goals = 0;
        double expected = 0;
        int games = 0;
    };

    // Shrinks goals / expected toward the prior by priorGames games of expected goals.
    double shrunk(const Sums& sums, double prior) const {
        if (sums.games == 0 || sums.expected <= 0) {
            return prior;
        }
        const double perGame = sums.expected / sums.games;
        const double weight = options_.priorGames * perGame;
        return bounded((sums.goals + weight * prior) / (sums.expected + weight));
    }

    void fitRound() {
        // A club the prior lacks is pulled toward the league's typical factors.
        const Factors typicalRoad{typical(&Club::road, &Factors::offence),
                                  typical(&Club::road, &Factors::defence)};
        const Factors typicalHome{typical(&Club::home, &Factors::offence),
                                  typical(&Club::home, &Factors::defence)};
        std::map<std::string, Sums> roadOffence, homeDefence, homeOffence, roadDefence;
        for (const ResultRow& game : games_) {
            const Club& visitor = clubs_.at(game.visitor);
            const Club& home = clubs_.at(game.home);
            const double visitorBase = base(game.visitor, game.home);
            const double homeBase = base(game.home, game.visitor);
            add(roadOffence[game.visitor], game.visitorGoals, visitorBase * home.home.defence);
            add(homeDefence[game.home], game.visitorGoals, visitorBase * visitor.road.offence);
            add(homeOffence[game.home], game.homeGoals, homeBase * visitor.road.defence);
            add(roadDefence[game.visitor], game.homeGoals, homeBase * home.home.offence);
        }
        for (auto& [code, club] : clubs_) {
            const Factors roadPrior =
                club.inPrior
                    ? Factors{club.roadPrior.offence * priorOffenceScale_, club.roadPrior.defence}
                    : typicalRoad;
            const Factors homePrior =
                club.inPrior
                    ? Factors{club.homePrior.offence * priorOffenceScale_, club.homePrior.defence}
                    : typicalHome;
            club.road.offence = shrunk(roadOffence[code], roadPrior.offence);
            club.home.defence = shrunk(homeDefence[code], homePrior.defence);
            club.home.offence = shrunk(homeOffence[code], homePrior.offence);
            club.road.defence = shrunk(roadDefence[code], roadPrior.defence);
        }
        // Only offence times defence is seen: keep the defences where the prior has them.
        normalise(&Club::home, &Club::road, &Club::homePrior);
        normalise(&Club::road, &Club::home, &Club::roadPrior);
    }

    // What power plays, the last minutes and overtime add to the goals of even strength,
    // measured on the season's first pairing.
    double rulesScale(const std::filesystem::path& rosterFolder) const {
        if (games_.empty()) {
            return 1;
        }
        const ResultRow& game = games_.front();
        const auto even = std::make_shared<const RatingTable>(table(1.0));
        const OddsTally tally =
            simulate(game.visitor, game.home, even, rosterFolder, options_, MeasuringSeries, 1);
        const double simulated =
            static_cast<double>(tally.goalsVisitor + tally.goalsHome) / tally.games;
        const double expected = visitorRate(game) + homeRate(game);
        return simulated > 0 && expected > 0 ? simulated / expected : 1.0;
    }

    static void add(Sums& sums, int goals, double expected) {
        sums.goals += goals;
        sums.expected += expected;
        ++sums.games;
    }

    double typical(Factors Club::*venue, double Factors::*factor) const {
        std::vector<double> values;
        for (const auto& [code, club] : clubs_) {
            values.push_back(club.*venue.*factor);
        }
        return geometricMean(values);
    }

    // Scales the defences of one venue to the prior's mean (1 without a prior) and the
    // offences they meet by the inverse, which leaves every expected goal as it was.
    void normalise(Factors Club::*defending, Factors Club::*attacking, Factors Club::*prior) {
        std::vector<double> defences;
        std::vector<double> priors;
        for (const auto& [code, club] : clubs_) {
            defences.push_back((club.*defending).defence);
            if (club.inPrior) {
                priors.push_back((club.*prior).defence);
            }
        }
        const double scale = geometricMean(priors) / geometricMean(defences);
        for (auto& [code, club] : clubs_) {
            (club.*defending).defence *= scale;
            (club.*attacking).offence /= scale;
        }
    }

    // The table, offences divided by what the rules add to even strength.
    RatingTable table(double offenceScale) const {
        std::vector<RatedTeam> road;
        std::vector<RatedTeam> home;
        for (const auto& [code, club] : clubs_) {
            TeamRating roadRating = club.special.road;
            roadRating.offence = static_cast<float>(club.road.offence * offenceScale);
            roadRating.defence = static_cast<float>(club.road.defence);
            TeamRating homeRating = club.special.home;
            homeRating.offence = static_cast<float>(club.home.offence * offenceScale);
            homeRating.defence = static_cast<float>(club.home.defence);
            road.push_back({code, roadRating});
            home.push_back({code, homeRating});
        }
        return RatingTable(std::move(road), std::move(home));
    }

    const std::vector<ResultRow>& games_;
    const std::map<std::string, TeamScoring>& scoring_;
    const FitOptions& options_;
    std::map<std::string, Club> clubs_;
    double priorOffenceScale_ = 1; // what the rules add, once measured
};

} // namespace

bool VenueCheck::within(double tolerance) const {
    const auto close = [tolerance](double simulated, double real) {
        return real <= 0 ? simulated <= tolerance : std::abs(simulated / real - 1) <= tolerance;
    };
    return games == 0 || (close(simulatedFor, goalsFor) && close(simulatedAgainst, goalsAgainst));
}

std::map<std::string, TeamScoring> readTeamScoring(const std::filesystem::path& rosterFolder,
                                                   const std::vector<std::string>& codes) {
    std::map<std::string, TeamScoring> scoring;
    PredictionState state;
    for (const std::string& code : codes) {
        ReadRosters(state, code, code, rosterFolder);
        TeamScoring team;
        for (int player = 1; player <= PlayersPerTeam; ++player) {
            team.goalsPerGame += static_cast<double>(state.GOALX[player]) / state.Gamex[player];
        }
        team.goalsPerAssist = state.Ratiox;
        scoring[code] = team;
    }
    return scoring;
}

RatingsFit fitRatings(const std::vector<ResultRow>& games,
                      const std::map<std::string, TeamScoring>& scoring,
                      const std::filesystem::path& rosterFolder, const FitOptions& options) {
    return AnalyticFit(games, scoring, options).fit(rosterFolder);
}

std::optional<RatingsFit> calibrateRatings(RatingsFit fit, const std::vector<ResultRow>& games,
                                           const std::filesystem::path& rosterFolder,
                                           const FitOptions& options, int rounds, int seriesPerGame,
                                           std::stop_token stop,
                                           const std::function<void(int, int)>& progress) {
    std::map<std::pair<std::string, std::string>, int> pairings;
    for (const ResultRow& game : games) {
        ++pairings[{game.visitor, game.home}];
    }
    const int total = static_cast<int>(games.size()) * (rounds + 1);
    int done = 0;
    for (int round = 0; round <= rounds; ++round) {
        const auto table = std::make_shared<const RatingTable>(fit.table);
        std::map<std::string, TeamFitCheck> checks;
        std::uint64_t seed = 1;
        for (const auto& [pairing, count] : pairings) {
            if (stop.stop_requested()) {
                return std::nullopt;
            }
            const auto& [visitor, home] = pairing;
            const OddsTally tally =
                simulate(visitor, home, table, rosterFolder, options,
                         static_cast<std::uint64_t>(count * seriesPerGame), seed++);
            const double perGameVisitor = static_cast<double>(tally.goalsVisitor) / tally.games;
            const double perGameHome = static_cast<double>(tally.goalsHome) / tally.games;
            VenueCheck& road = checks[visitor].road;
            VenueCheck& atHome = checks[home].home;
            road.games += count;
            road.simulatedFor += perGameVisitor * count;
            road.simulatedAgainst += perGameHome * count;
            atHome.games += count;
            atHome.simulatedFor += perGameHome * count;
            atHome.simulatedAgainst += perGameVisitor * count;
            done += count;
            if (progress) {
                progress(done, total);
            }
        }
        for (const ResultRow& game : games) {
            checks[game.visitor].road.goalsFor += game.visitorGoals;
            checks[game.visitor].road.goalsAgainst += game.homeGoals;
            checks[game.home].home.goalsFor += game.homeGoals;
            checks[game.home].home.goalsAgainst += game.visitorGoals;
        }
        fit.check.clear();
        for (auto& [code, check] : checks) {
            check.code = code;
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
        // Goals for move the club's offence, goals against the defence it meets them with;
        // each takes half the gap, since both sides of a game share it.
        const auto ratio = [](double real, double simulated) {
            return simulated > 0 && real > 0 ? std::sqrt(real / simulated) : 1.0;
        };
        std::vector<RatedTeam> road = fit.table.road();
        std::vector<RatedTeam> home = fit.table.home();
        for (const TeamFitCheck& check : fit.check) {
            for (RatedTeam& row : road) {
                if (row.code == check.code) {
                    row.rating.offence = static_cast<float>(bounded(
                        row.rating.offence * ratio(check.road.goalsFor, check.road.simulatedFor)));
                    row.rating.defence = static_cast<float>(
                        bounded(row.rating.defence *
                                ratio(check.road.goalsAgainst, check.road.simulatedAgainst)));
                }
            }
            for (RatedTeam& row : home) {
                if (row.code == check.code) {
                    row.rating.offence = static_cast<float>(bounded(
                        row.rating.offence * ratio(check.home.goalsFor, check.home.simulatedFor)));
                    row.rating.defence = static_cast<float>(
                        bounded(row.rating.defence *
                                ratio(check.home.goalsAgainst, check.home.simulatedAgainst)));
                }
            }
        }
        fit.table = RatingTable(std::move(road), std::move(home));
    }
    return fit;
}

} // namespace zelkor
