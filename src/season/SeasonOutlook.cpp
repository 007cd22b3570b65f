#include "season/SeasonOutlook.h"

#include "odds/ManySeries.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"
#include "season/PlayoffPlaces.h"
#include "simulation/GameLoop.h"
#include "simulation/RandomSource.h"
#include "simulation/ScoringModel.h"
#include "teamdata/RosterCheckHint.h"
#include "teamdata/RosterReader.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <limits>
#include <map>
#include <mutex>
#include <numeric>
#include <set>
#include <system_error>
#include <thread>

namespace zelkor {

namespace {

// Seasons a thread plays together before it takes the next ones: about a second of a whole
// schedule.
constexpr std::uint64_t ChunkSeasons = 8;
// How often the progress is reported.
constexpr std::chrono::milliseconds ProgressInterval{100};
constexpr std::uint64_t NoFailure = std::numeric_limits<std::uint64_t>::max();
// A goal-leader title shared by k players gives each LeaderShare / k: every k up to 16
// divides it, so that the shares add up exactly in any order.
constexpr std::uint64_t LeaderShare = 720'720;
// The percentiles of the final points shown.
constexpr std::uint64_t LowPercentile = 5;
constexpr std::uint64_t HighPercentile = 95;
// The quartiles and the median that a box of the final points draws.
constexpr std::uint64_t LowerQuartile = 25;
constexpr std::uint64_t MedianPercentile = 50;
constexpr std::uint64_t UpperQuartile = 75;

const RatingTable& ratingsOf(const OutlookRequest& request) {
    return request.ratings ? *request.ratings : *RatingTable::builtin();
}

std::set<std::string> scheduleClubs(const Schedule& schedule) {
    std::set<std::string> clubs;
    for (const auto* games : {&schedule.played, &schedule.toPlay}) {
        for (const ResultRow& game : *games) {
            clubs.insert(game.visitor);
            clubs.insert(game.home);
        }
    }
    return clubs;
}

// One game left: the clubs by index and the pair of teams it is played by.
struct GameLeft {
    std::size_t visitor;
    std::size_t home;
    std::size_t matchup;
};

// The figures of many seasons, as exact counts.
struct Tally {
    explicit Tally(const std::vector<int>& mostPoints, const LeagueTable& table) {
        const std::size_t clubs = mostPoints.size();
        finalPoints.resize(clubs);
        for (std::size_t club = 0; club < clubs; ++club) {
            finalPoints[club].assign(static_cast<std::size_t>(mostPoints[club]) + 1, 0);
        }
        place.resize(clubs);
        for (const auto& conference : table.conferences()) {
            for (const std::size_t club : conference) {
                place[club].assign(conference.size(), 0);
            }
        }
        playoffs.assign(clubs, 0);
        divisionTitle.assign(clubs, 0);
        mostPoints_.assign(clubs, 0);
        fewestPoints.assign(clubs, 0);
        goals.assign(clubs * PlayersPerTeam, 0);
        leaderShares.assign(clubs * PlayersPerTeam, 0);
    }

    void add(const Tally& other) {
        seasons += other.seasons;
        for (std::size_t club = 0; club < finalPoints.size(); ++club) {
            for (std::size_t p = 0; p < finalPoints[club].size(); ++p) {
                finalPoints[club][p] += other.finalPoints[club][p];
            }
            for (std::size_t k = 0; k < place[club].size(); ++k) {
                place[club][k] += other.place[club][k];
            }
            playoffs[club] += other.playoffs[club];
            divisionTitle[club] += other.divisionTitle[club];
            mostPoints_[club] += other.mostPoints_[club];
            fewestPoints[club] += other.fewestPoints[club];
        }
        for (std::size_t k = 0; k < goals.size(); ++k) {
            goals[k] += other.goals[k];
            leaderShares[k] += other.leaderShares[k];
        }
    }

    std::uint64_t seasons = 0;
    std::vector<std::vector<std::uint64_t>> finalPoints;
    std::vector<std::vector<std::uint64_t>> place;
    std::vector<std::uint64_t> playoffs;
    std::vector<std::uint64_t> divisionTitle;
    std::vector<std::uint64_t> mostPoints_;
    std::vector<std::uint64_t> fewestPoints;
    std::vector<std::uint64_t> goals;        ///< [club * 18 + row - 1]: final goals, summed
    std::vector<std::uint64_t> leaderShares; ///< the same: goal-leader titles in LeaderShare units
};

// Everything the seasons share, read once.
class PreparedOutlook {
public:
    explicit PreparedOutlook(const OutlookRequest& request)
        : table_(request.alignment),
          standings_(table_.codes(),
                     request.shootouts.on ? TieBreaks::ShootoutEra : TieBreaks::BeforeShootouts) {
        for (std::size_t club = 0; club < table_.codes().size(); ++club) {
            index_[table_.codes()[club]] = club;
        }
        for (const ResultRow& game : request.schedule.played) {
            standings_.add(index_.at(game.visitor), index_.at(game.home), game.visitorGoals,
                           game.homeGoals, game.end);
        }
        std::map<std::pair<std::size_t, std::size_t>, std::size_t> matchups;
        std::vector<int> gamesLeft(table_.codes().size(), 0);
        for (const ResultRow& game : request.schedule.toPlay) {
            const std::size_t visitor = index_.at(game.visitor);
            const std::size_t home = index_.at(game.home);
            const auto [entry, fresh] = matchups.emplace(std::pair{visitor, home}, states_.size());
            if (fresh) {
                states_.push_back(matchupState(request, game.visitor, game.home));
            }
            games_.push_back({visitor, home, entry->second});
            ++gamesLeft[visitor];
            ++gamesLeft[home];
        }
        for (std::size_t club = 0; club < table_.codes().size(); ++club) {
            gamesLeft_.push_back(gamesLeft[club]);
            mostPoints_.push_back(standings_.record(club).points() +
                                  PointsForWin * gamesLeft[club]);
            PredictionState state;
            ReadRosters(state, table_.codes()[club], table_.codes()[club], request.rosterFolder);
            // A roster of a longer season than the schedule has played (a past season
            // replayed from a day) counts its goals down to the club's games so far.
            Single rosterGames = 0;
            for (int row = 1; row <= PlayersPerTeam; ++row) {
                rosterGames = std::max(rosterGames, state.Gamex[row]);
            }
            const int gamesSoFar = standings_.record(club).games;
            const double scale = rosterGames > static_cast<Single>(gamesSoFar)
                                     ? gamesSoFar / double(rosterGames)
                                     : 1.0;
            for (int row = 1; row <= PlayersPerTeam; ++row) {
                rosterGoals_.push_back(static_cast<int>(std::lround(state.GOALX[row] * scale)));
                names_.push_back(state.RosterX.at(row, NameColumn));
            }
        }
    }

    const LeagueTable& table() const { return table_; }
    const Standings& standings() const { return standings_; }
    const std::vector<GameLeft>& games() const { return games_; }
    const std::vector<PredictionState>& states() const { return states_; }
    const std::vector<int>& mostPoints() const { return mostPoints_; }
    const std::vector<int>& gamesLeft() const { return gamesLeft_; }
    const std::vector<int>& rosterGoals() const { return rosterGoals_; }
    const std::vector<std::string>& names() const { return names_; }

private:
    // The state every game of the pair starts from: ratings, rosters, goalies' averages
    // and the shootout rule.
    static PredictionState matchupState(const OutlookRequest& request, const std::string& visitor,
                                        const std::string& home) {
        PredictionState state;
        state.VISITOR = visitor;
        state.HOME = home;
        state.GAAV = OutlookGaa;
        state.GAAH = OutlookGaa;
        state.shootout = request.shootouts.on;
        state.shootoutVisitorChance = request.shootouts.visitorChance(visitor, home);
        LoadTeamRatings(state, ratingsOf(request));
        ReadRosters(state, visitor, home, request.rosterFolder);
        state.match = 1;
        return state;
    }

    LeagueTable table_;
    Standings standings_;
    std::map<std::string, std::size_t> index_;
    std::vector<GameLeft> games_;
    std::vector<PredictionState> states_;
    std::vector<int> mostPoints_;
    std::vector<int> gamesLeft_;
    std::vector<int> rosterGoals_; ///< [club * 18 + row - 1]
    std::vector<std::string> names_;
};

// One thread's copies of the pairs' states and their rate caches, and the seasons of a
// chunk. The chunk's seasons play each game in turn before the next game, each on its own
// generator and standings: a season's games and draws are those it would have alone, and
// the pair's state and rates stay in the cache for all of them.
class SeasonPlayer {
public:
    explicit SeasonPlayer(const PreparedOutlook& prepared)
        : prepared_(prepared), states_(prepared.states()), rates_(prepared.states().size()) {}

    // Plays the seasons first to end - 1 (seeded from baseSeed) and counts them into tally.
    // On an error, the lowest season that failed and its error; the seasons below it are
    // counted, none from it on.
    std::optional<std::pair<std::uint64_t, std::exception_ptr>>
    play(std::uint64_t baseSeed, std::uint64_t first, std::uint64_t end, Tally& tally) {
        const auto played = static_cast<std::size_t>(end - first);
        seasons_.resize(played, Season{prepared_.standings(), {}, Xoshiro256StarStar{}, nullptr});
        for (std::size_t k = 0; k < played; ++k) {
            Season& season = seasons_[k];
            season.standings = prepared_.standings();
            season.goals = prepared_.rosterGoals();
            season.draws.reseed(seriesSeed(baseSeed, first + k));
            season.failure = nullptr;
        }
        for (const GameLeft& game : prepared_.games()) {
            for (Season& season : seasons_) {
                if (season.failure) {
                    continue;
                }
                try {
                    playGame(game, season);
                } catch (...) {
                    season.failure = std::current_exception();
                }
            }
        }
        for (std::size_t k = 0; k < played; ++k) {
            if (seasons_[k].failure) {
                return std::pair{first + k, seasons_[k].failure};
            }
            count(seasons_[k], tally);
        }
        return std::nullopt;
    }

private:
    struct Season {
        Standings standings;
        std::vector<int> goals; ///< [club * 18 + row - 1]: the roster's and those played
        Xoshiro256StarStar draws;
        std::exception_ptr failure;
    };

    void playGame(const GameLeft& game, Season& season) {
        playQuietGame(states_[game.matchup], season.draws, outcome_, rates_[game.matchup]);
        const GameResult& result = outcome_.games[0];
        const bool overtimeGoal = std::any_of(outcome_.goals.begin(), outcome_.goals.end(),
                                              [](const ScoredGoal& goal) { return goal.overtime; });
        const GameEnd end = !result.overtime ? GameEnd::Regulation
                            : overtimeGoal   ? GameEnd::Overtime
                                             : GameEnd::Shootout;
        season.standings.add(game.visitor, game.home, result.visitorGoals, result.homeGoals, end);
        for (const ScoredGoal& goal : outcome_.goals) {
            const std::size_t club = goal.visiting ? game.visitor : game.home;
            ++season.goals[club * PlayersPerTeam + goal.row - 1];
        }
    }

    void count(const Season& season, Tally& tally) const {
        const Standings& standings = season.standings;
        const std::vector<int>& goals = season.goals;
        const FinalPlaces places = finalPlaces(standings, prepared_.table());
        ++tally.seasons;
        for (std::size_t club = 0; club < standings.size(); ++club) {
            ++tally.finalPoints[club][static_cast<std::size_t>(standings.record(club).points())];
            ++tally.place[club][static_cast<std::size_t>(places.conferencePlace[club] - 1)];
            tally.playoffs[club] += places.playoffs[club] ? 1 : 0;
            tally.divisionTitle[club] += places.divisionTitle[club] ? 1 : 0;
        }
        ++tally.mostPoints_[places.mostPoints];
        ++tally.fewestPoints[places.fewestPoints];
        const int most = *std::max_element(goals.begin(), goals.end());
        const auto leaders =
            static_cast<std::uint64_t>(std::count(goals.begin(), goals.end(), most));
        for (std::size_t k = 0; k < goals.size(); ++k) {
            tally.goals[k] += static_cast<std::uint64_t>(goals[k]);
            tally.leaderShares[k] += goals[k] == most ? LeaderShare / leaders : 0;
        }
    }

    const PreparedOutlook& prepared_;
    std::vector<PredictionState> states_;
    std::vector<RateCache> rates_;
    std::vector<Season> seasons_;
    SeriesOutcome outcome_;
};

// What the threads of one outlook share.
class OutlookRun {
public:
    OutlookRun(const OutlookRequest& request, const PreparedOutlook& prepared, std::stop_token stop)
        : request_(request), prepared_(prepared), stop_(std::move(stop)),
          total_(prepared.mostPoints(), prepared.table()) {}

    // Plays chunks of seasons until none is left, one failed below them or a stop.
    // Nothing may escape a thread: that would end the program.
    void work() {
        try {
            auto player = std::make_unique<SeasonPlayer>(prepared_);
            Tally chunk(prepared_.mostPoints(), prepared_.table());
            const Tally empty = chunk;
            for (;;) {
                const std::uint64_t first = next_.fetch_add(ChunkSeasons);
                if (first >= request_.seasons || first > firstFailure_.load()) {
                    break;
                }
                if (stop_.stop_requested()) {
                    return finish();
                }
                const std::uint64_t end = std::min(first + ChunkSeasons, request_.seasons);
                if (const auto failure = player->play(request_.baseSeed, first, end, chunk)) {
                    recordFailure(failure->first, failure->second);
                    return finish();
                }
                {
                    const std::lock_guard lock(mutex_);
                    total_.add(chunk);
                }
                chunk = empty;
            }
        } catch (...) { // no memory for the thread's own copies: the outlook cannot go on
            recordFailure(0, std::current_exception());
        }
        finish();
    }

    void waitReporting(const OutlookProgress& progress, unsigned threads) {
        std::unique_lock lock(mutex_);
        while (finished_ < threads) {
            changed_.wait_for(lock, ProgressInterval);
            if (progress && finished_ < threads && !stop_.stop_requested()) {
                const std::uint64_t done = total_.seasons;
                lock.unlock();
                progress(done, request_.seasons);
                lock.lock();
            }
        }
    }

    // The counts, or the error of the lowest-numbered failing season.
    const Tally& result() const {
        if (failure_) {
            try {
                std::rethrow_exception(failure_);
            } catch (const std::exception& error) {
                const std::uint64_t season = firstFailure_.load();
                throw OutlookFailedError("Season " + std::to_string(season + 1) + " of " +
                                         std::to_string(request_.seasons) + " (seed " +
                                         std::to_string(seriesSeed(request_.baseSeed, season)) +
                                         ") failed: " + error.what() + " " +
                                         rosterCheckHint(request_.rosterFolder));
            }
        }
        return total_;
    }

private:
    void recordFailure(std::uint64_t season, std::exception_ptr error) {
        const std::lock_guard lock(mutex_);
        if (season < firstFailure_.load()) {
            firstFailure_.store(season);
            failure_ = std::move(error);
        }
    }

    void finish() {
        {
            const std::lock_guard lock(mutex_);
            ++finished_;
        }
        changed_.notify_all();
    }

    const OutlookRequest& request_;
    const PreparedOutlook& prepared_;
    std::stop_token stop_;
    std::atomic<std::uint64_t> next_{0};
    std::atomic<std::uint64_t> firstFailure_{NoFailure};
    std::mutex mutex_; // guards what follows
    std::condition_variable changed_;
    Tally total_;
    std::exception_ptr failure_;
    unsigned finished_ = 0;
};

unsigned threadCount(const OutlookRequest& request) {
    const unsigned cores = std::max(1U, std::thread::hardware_concurrency());
    const unsigned asked = request.threads == 0 ? cores : std::min(request.threads, MostThreads);
    const std::uint64_t chunks = (request.seasons + ChunkSeasons - 1) / ChunkSeasons;
    return static_cast<unsigned>(
        std::max<std::uint64_t>(1, std::min<std::uint64_t>(asked, chunks)));
}

// The smallest points that at least percent of the seasons did not exceed.
int percentile(const std::vector<std::uint64_t>& counts, std::uint64_t seasons,
               std::uint64_t percent) {
    std::uint64_t below = 0;
    for (std::size_t points = 0; points < counts.size(); ++points) {
        below += counts[points];
        if (below * 100 >= percent * seasons && below > 0) {
            return static_cast<int>(points);
        }
    }
    return static_cast<int>(counts.size()) - 1;
}

SeasonOutlook figuresOf(const OutlookRequest& request, const PreparedOutlook& prepared,
                        const Tally& tally) {
    const double seasons = static_cast<double>(tally.seasons);
    const auto share = [&](std::uint64_t count) { return static_cast<double>(count) / seasons; };
    const LeagueTable& table = prepared.table();
    SeasonOutlook outlook;
    outlook.seasons = tally.seasons;
    outlook.seed = request.baseSeed;
    outlook.format = table.format();
    outlook.gamesPlayed = request.schedule.played.size();
    outlook.gamesLeft = request.schedule.toPlay.size();
    // Clubs level on mean points are shown in the order of the standings so far.
    std::vector<std::size_t> order(table.codes().size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    prepared.standings().rank(order);
    std::vector<std::size_t> placeSoFar(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        placeSoFar[order[k]] = k;
    }
    for (std::size_t conference = 0; conference < table.conferences().size(); ++conference) {
        for (const std::size_t division : table.divisionsOf()[conference]) {
            std::vector<std::pair<std::size_t, ClubOutlook>> clubs;
            for (const std::size_t club : table.divisions()[division]) {
                ClubOutlook figures;
                const ClubAlignment& place = request.alignment.clubs[club];
                figures.code = place.code;
                figures.conference = place.conference;
                figures.division = place.division;
                figures.soFar = prepared.standings().record(club);
                figures.gamesLeft = prepared.gamesLeft()[club];
                figures.finalPoints = tally.finalPoints[club];
                std::uint64_t sum = 0;
                for (std::size_t points = 0; points < figures.finalPoints.size(); ++points) {
                    sum += points * figures.finalPoints[points];
                }
                figures.meanPoints = share(sum);
                figures.points5 = percentile(figures.finalPoints, tally.seasons, LowPercentile);
                figures.points95 = percentile(figures.finalPoints, tally.seasons, HighPercentile);
                figures.points25 = percentile(figures.finalPoints, tally.seasons, LowerQuartile);
                figures.pointsMedian =
                    percentile(figures.finalPoints, tally.seasons, MedianPercentile);
                figures.points75 = percentile(figures.finalPoints, tally.seasons, UpperQuartile);
                figures.playoffs = share(tally.playoffs[club]);
                figures.divisionTitle = share(tally.divisionTitle[club]);
                figures.mostPoints = share(tally.mostPoints_[club]);
                figures.fewestPoints = share(tally.fewestPoints[club]);
                for (const std::uint64_t count : tally.place[club]) {
                    figures.conferencePlace.push_back(share(count));
                }
                clubs.emplace_back(placeSoFar[club], std::move(figures));
            }
            std::sort(clubs.begin(), clubs.end(), [](const auto& a, const auto& b) {
                return a.second.meanPoints != b.second.meanPoints
                           ? a.second.meanPoints > b.second.meanPoints
                           : a.first < b.first;
            });
            for (auto& [place, club] : clubs) {
                outlook.clubs.push_back(std::move(club));
            }
        }
    }
    for (std::size_t club = 0; club < table.codes().size(); ++club) {
        for (int row = 1; row <= PlayersPerTeam; ++row) {
            const std::size_t k = club * PlayersPerTeam + static_cast<std::size_t>(row - 1);
            outlook.players.push_back({table.codes()[club], row, prepared.names()[k],
                                       prepared.rosterGoals()[k], share(tally.goals[k]),
                                       share(tally.leaderShares[k]) / double(LeaderShare)});
        }
    }
    std::stable_sort(outlook.players.begin(), outlook.players.end(),
                     [](const PlayerOutlook& a, const PlayerOutlook& b) {
                         if (a.projectedGoals != b.projectedGoals) {
                             return a.projectedGoals > b.projectedGoals;
                         }
                         if (a.goals != b.goals) {
                             return a.goals > b.goals;
                         }
                         return a.club != b.club ? a.club < b.club : a.row < b.row;
                     });
    return outlook;
}

} // namespace

std::vector<std::string> outlookProblems(const OutlookRequest& request) {
    std::vector<std::string> problems;
    if (request.seasons == 0 || request.seasons > MostOutlookSeasons) {
        problems.push_back("The seasons must be 1 to " + std::to_string(MostOutlookSeasons) + ".");
    }
    const std::set<std::string> playing = scheduleClubs(request.schedule);
    if (playing.empty()) {
        problems.push_back("The schedule lists no game.");
    }
    std::set<std::string> aligned;
    for (const ClubAlignment& club : request.alignment.clubs) {
        aligned.insert(club.code);
    }
    std::set<std::string> withoutPlace;
    std::set<std::string> withoutGames;
    std::set<std::string> notOnRoad;
    std::set<std::string> notAtHome;
    std::set_difference(playing.begin(), playing.end(), aligned.begin(), aligned.end(),
                        std::inserter(withoutPlace, withoutPlace.end()));
    std::set_difference(aligned.begin(), aligned.end(), playing.begin(), playing.end(),
                        std::inserter(withoutGames, withoutGames.end()));
    const RatingTable& ratings = ratingsOf(request);
    bool rosterProblem = false;
    for (const std::string& club : playing) {
        if (!ratings.canVisit(club)) {
            notOnRoad.insert(club);
        }
        if (!ratings.canHost(club)) {
            notAtHome.insert(club);
        }
        try {
            PredictionState state;
            ReadRosters(state, club, club, request.rosterFolder);
        } catch (const ZelkorError& error) {
            problems.push_back(error.what());
            rosterProblem = true;
        }
    }
    const auto add = [&problems](const std::set<std::string>& codes, const std::string& what) {
        if (!codes.empty()) {
            problems.push_back(what + shownList(codes) + ".");
        }
    };
    add(withoutPlace, "Clubs of the schedule without a division: ");
    add(withoutGames, "Clubs of the divisions without a game in the schedule: ");
    add(notOnRoad, "Clubs of the schedule the ratings do not rate on the road: ");
    add(notAtHome, "Clubs of the schedule the ratings do not rate at home: ");
    if (rosterProblem) {
        problems.push_back(rosterCheckHint(request.rosterFolder));
    }
    return problems;
}

std::optional<SeasonOutlook> playOutlook(const OutlookRequest& request, std::stop_token stop,
                                         const OutlookProgress& progress) {
    if (const std::vector<std::string> problems = outlookProblems(request); !problems.empty()) {
        std::string message;
        for (const std::string& problem : problems) {
            message += (message.empty() ? "" : "\n") + problem;
        }
        throw OutlookInputError(message);
    }
    const PreparedOutlook prepared(request);
    OutlookRun run(request, prepared, stop);
    {
        std::vector<std::jthread> workers;
        const unsigned threads = threadCount(request);
        for (unsigned thread = 0; thread < threads && !stop.stop_requested(); ++thread) {
            try {
                workers.emplace_back([&run] { run.work(); });
            } catch (const std::system_error& error) {
                if (workers.empty()) {
                    throw OutlookFailedError(
                        std::string("No thread could be started for the seasons: ") + error.what() +
                        ".");
                }
                break; // fewer threads play the same seasons
            }
        }
        run.waitReporting(progress, static_cast<unsigned>(workers.size()));
    }
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    return figuresOf(request, prepared, run.result());
}

SourcedOutlook readOutlookSource(const OutlookSource& source) {
    std::vector<std::string> problems;
    const auto attempt = [&problems](auto&& step) {
        try {
            step();
        } catch (const ZelkorError& error) {
            problems.push_back(error.what());
        }
    };
    SourcedOutlook sourced;
    OutlookRequest& request = sourced.request;
    request.rosterFolder = source.folder;
    std::optional<TeamCodeKind> kind = source.codes;
    attempt([&] {
        const RatingsChoice ratings = chooseRatings(std::nullopt, source.folder);
        request.ratings = ratings.table;
        request.shootouts = ratings.shootouts;
        sourced.ratings = ratings.source();
        if (!kind) {
            kind = ratings.file ? TeamCodeKind::League : TeamCodeKind::Program;
        }
    });
    bool scheduleRead = false;
    attempt([&] {
        request.schedule = readSchedule(
            source.schedule, TeamCodeMap({}, kind.value_or(TeamCodeKind::Program)), source.asOf);
        if (request.schedule.played.empty() && request.schedule.toPlay.empty()) {
            throw InputDataError(fileLabel(ScheduleFileKind, source.schedule) + " lists no game.");
        }
        scheduleRead = true;
    });
    bool aligned = false;
    attempt([&] {
        if (std::optional<LeagueAlignment> alignment = readAlignment(source.folder)) {
            request.alignment = std::move(*alignment);
            sourced.alignment = shownPath(source.folder / DivisionsFileName);
            aligned = true;
            return;
        }
        if (!scheduleRead) {
            return;
        }
        // The season of the schedule's first day.
        std::string first = "9999-12-31";
        for (const auto* games : {&request.schedule.played, &request.schedule.toPlay}) {
            for (const ResultRow& game : *games) {
                first = std::min(first, game.date);
            }
        }
        const int year = seasonStartYear(first);
        if (std::optional<LeagueAlignment> builtin =
                builtinAlignment(year, kind.value_or(TeamCodeKind::Program))) {
            request.alignment = std::move(*builtin);
            sourced.alignment = "the league's alignment of " + seasonName(year);
            aligned = true;
            return;
        }
        throw AlignmentError("The season folder '" + shownPath(source.folder) + "' has no " +
                             DivisionsFileName + ", and the program knows no alignment of the " +
                             seasonName(year) + " season: add " + DivisionsFileName + " (header " +
                             DivisionsHeader + ", one row per club) and " + PlayoffFormatFileName +
                             " (the playoff format: wild-card, "
                             "division-top-four or conference-top-eight) to the folder.");
    });
    if (scheduleRead && aligned && problems.empty()) {
        problems = outlookProblems(request);
    }
    if (!problems.empty()) {
        std::string message;
        for (const std::string& problem : problems) {
            message += (message.empty() ? "" : "\n") + problem;
        }
        throw OutlookInputError(message);
    }
    return sourced;
}

} // namespace zelkor
