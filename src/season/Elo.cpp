#include "season/Elo.h"

#include "season/DataErrors.h"
#include "season/MessageText.h"
#include "season/MovedClubs.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <sstream>

namespace zelkor {

namespace {

constexpr double MarginSlope = 0.6686;  // of the logarithm of the goal margin
constexpr double MarginOffset = 0.8048; // a one-goal win's multiplier
constexpr double HighestElo = 10000;    // far above any club's rating; a larger one is a typo

} // namespace

double eloHomeProbability(double home, double visitor, const EloParameters& elo) {
    return 1 / (1 + std::pow(10.0, -(home + elo.homeAdvantage - visitor) / elo.scale));
}

double eloMarginMultiplier(int goalDifference) {
    const int margin = std::abs(goalDifference);
    return margin == 0 ? 1.0 : MarginSlope * std::log(static_cast<double>(margin)) + MarginOffset;
}

double eloHomeChange(double home, double visitor, int homeGoals, int visitorGoals,
                     const EloParameters& elo) {
    const double score = homeGoals > visitorGoals ? 1.0 : homeGoals < visitorGoals ? 0.0 : 0.5;
    return elo.k * eloMarginMultiplier(homeGoals - visitorGoals) *
           (score - eloHomeProbability(home, visitor, elo));
}

EloRatings playElo(const std::vector<ResultRow>& games, const EloParameters& elo,
                   EloRatings ratings) {
    std::vector<std::size_t> order(games.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return games[a].date < games[b].date; });
    for (const std::size_t index : order) {
        const ResultRow& row = games[index];
        const double home = ratings.try_emplace(row.home, elo.start).first->second;
        const double visitor = ratings.try_emplace(row.visitor, elo.start).first->second;
        const double change = eloHomeChange(home, visitor, row.homeGoals, row.visitorGoals, elo);
        ratings[row.home] += change;
        ratings[row.visitor] -= change;
    }
    return ratings;
}

EloRatings carriedElo(const EloRatings& lastSeason, const EloParameters& elo) {
    EloRatings carried;
    for (const auto& [code, rating] : lastSeason) {
        carried[code] = elo.start + elo.carried * (rating - elo.start);
    }
    return carried;
}

EloRatings seasonEndElo(const std::vector<ResultRow>& lastSeason,
                        const std::vector<ResultRow>& season, const EloParameters& elo) {
    EloRatings start = carriedElo(playElo(lastSeason, elo), elo);
    std::vector<MovedClubNote> moved;
    eloWithMovedClubs(start, season, moved);
    return playElo(season, elo, std::move(start));
}

std::string eloFileText(const EloRatings& ratings) {
    std::ostringstream text;
    text << "code,elo\n";
    text.precision(10);
    for (const auto& [code, rating] : ratings) {
        text << code << ',' << rating << '\n';
    }
    return text.str();
}

EloRatings parseEloFile(const std::vector<CsvRow>& rows, const std::string& label) {
    if (rows.empty() || rows.front().fields.size() < 2 ||
        upperCase(trimmed(rows.front().fields[0])) != "CODE" ||
        upperCase(trimmed(rows.front().fields[1])) != "ELO") {
        throw InputDataError(label + " does not start with the header code,elo.");
    }
    EloRatings ratings;
    for (std::size_t index = 1; index < rows.size(); ++index) {
        const CsvRow& row = rows[index];
        const std::string where = filePlace(label, row.line);
        if (row.fields.size() != 2) {
            throw InputDataError(where + "a row holds a code and a rating, nothing else.");
        }
        const std::string code = upperCase(trimmed(row.fields[0]));
        const std::string_view text = trimmed(row.fields[1]);
        double rating = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), rating);
        if (error != std::errc{} || end != text.data() + text.size() || !(rating > 0) ||
            rating > HighestElo) {
            throw InputDataError(filePlace(label, row.line, "elo") + "'" + shownText(text) +
                                 "' is not a number above 0 and at most 10000.");
        }
        if (code.empty() || !ratings.emplace(code, rating).second) {
            throw InputDataError(filePlace(label, row.line, "code") + "'" + shownText(code) +
                                 (code.empty() ? "' is empty." : "' has a rating already."));
        }
    }
    return ratings;
}

} // namespace zelkor
