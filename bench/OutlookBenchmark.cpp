#include "season/SeasonOutlook.h"
#include "teamdata/RatingTable.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stop_token>
#include <string>

namespace {

using namespace zelkor;

constexpr int Clubs = 32;
constexpr int Days = 82; // every club plays once a day: 82 games each
constexpr int GamesPerDay = Clubs / 2;
constexpr int FullSchedule = Days * GamesPerDay; // 1,312 games
constexpr std::uint64_t Seasons = 10'000;

std::string dateOf(int day) {
    using namespace std::chrono;
    const year_month_day date{sys_days{2001y / October / 1} + days{day}};
    char text[11];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(date.year()), unsigned(date.month()),
                  unsigned(date.day()));
    return text;
}

// The built-in table's 32 road codes (at home the average club's row where the table has
// none) in two conferences of two divisions of eight; a round robin a day (the circle
// method), home and away by turns; the last gamesLeft games to play, the others won 3-2.
OutlookRequest league(int gamesLeft) {
    OutlookRequest request;
    request.rosterFolder = ZELKOR_SAMPLE_ROSTERS;
    request.alignment.format = PlayoffFormat::WildCard;
    // The built-in rows of each code, the average club's where a venue has none.
    const RatingTable& builtin = *RatingTable::builtin();
    std::vector<RatedTeam> road;
    std::vector<RatedTeam> home;
    std::vector<std::string> codes;
    for (const RatedTeam& team : builtin.road()) {
        if (codes.size() < Clubs) {
            const TeamRating* hosting = builtin.homeRating(team.code);
            road.push_back(team);
            home.push_back({team.code, hosting ? *hosting : *builtin.homeRating("AVG")});
            codes.push_back(team.code);
        }
    }
    request.ratings = std::make_shared<const RatingTable>(road, home);
    for (std::size_t k = 0; k < codes.size(); ++k) {
        request.alignment.clubs.push_back(
            {codes[k], k < Clubs / 2 ? "East" : "West", "D" + std::to_string(k / 8)});
    }
    int games = 0;
    for (int day = 0; day < Days; ++day) {
        for (int pair = 0; pair < GamesPerDay; ++pair) {
            const auto seat = [&](int place) {
                return place == 0 ? 0 : 1 + (place - 1 + day) % (Clubs - 1);
            };
            int visitor = seat(pair);
            int home = seat(Clubs - 1 - pair);
            if (day % 2 == 1) {
                std::swap(visitor, home);
            }
            ResultRow game;
            game.line = ++games + 1;
            game.date = dateOf(day);
            game.visitor = codes[static_cast<std::size_t>(visitor)];
            game.home = codes[static_cast<std::size_t>(home)];
            if (games <= FullSchedule - gamesLeft) {
                game.visitorGoals = 3;
                game.homeGoals = 2;
                game.end = GameEnd::Regulation;
                request.schedule.played.push_back(game);
            } else {
                request.schedule.toPlay.push_back(game);
            }
        }
    }
    request.seasons = Seasons;
    request.baseSeed = 1;
    return request;
}

// 10,000 seasons of the games left (the argument), on every core.
void BM_Outlook(benchmark::State& benchmarkState) {
    const OutlookRequest request = league(static_cast<int>(benchmarkState.range(0)));
    for (auto _ : benchmarkState) {
        benchmark::DoNotOptimize(playOutlook(request, std::stop_token{}));
    }
    benchmarkState.counters["games"] =
        benchmark::Counter(static_cast<double>(benchmarkState.iterations()) * Seasons *
                               static_cast<double>(benchmarkState.range(0)),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Outlook)
    ->Arg(FullSchedule)
    ->Arg(FullSchedule / 2)
    ->Arg(FullSchedule / 4)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

} // namespace
