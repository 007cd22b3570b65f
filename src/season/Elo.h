#pragma once

#include "season/ResultsFile.h"

#include <map>
#include <string>
#include <vector>

namespace zelkor {

// A plain Elo rating on goal difference, the baseline a fitted model should match. K 8,
// 35 points at home and 60 % carried into the next season scored best of the values tried
// on the open seasons (see the README).
struct EloParameters {
    double k = 8;              ///< rating points moved by a full surprise of one goal
    double homeAdvantage = 35; ///< points added to the home club's rating for its chance
    double start = 1500;       ///< a club's rating before its first game, and the mean
    double scale = 400;        ///< a difference of this many points is 10 to 1 odds
    double carried = 0.6;      ///< share of a club's distance from start kept into a new season
};

// Every club's rating by its code.
using EloRatings = std::map<std::string, double>;

// The home club's chance by the two ratings.
double eloHomeProbability(double home, double visitor, const EloParameters& elo);

// Goal differences count less than in proportion: 0.6686 ln(margin) + 0.8048, and 1 for
// a level game.
double eloMarginMultiplier(int goalDifference);

// Points the home club gains from one result (the visitor loses as many); a level game
// scores one half.
double eloHomeChange(double home, double visitor, int homeGoals, int visitorGoals,
                     const EloParameters& elo);

// The ratings after the games, played in date order (games of a day in file order) from
// the ratings given; a club without one starts at elo.start.
EloRatings playElo(const std::vector<ResultRow>& games, const EloParameters& elo,
                   EloRatings ratings = {});

// A new season's ratings: each club's last rating moved toward elo.start, elo.carried of
// its distance kept.
EloRatings carriedElo(const EloRatings& lastSeason, const EloParameters& elo);

// Each club's rating after a season's games, started from last season's carried (a moved
// club from its predecessor's), or level when lastSeason is empty.
EloRatings seasonEndElo(const std::vector<ResultRow>& lastSeason,
                        const std::vector<ResultRow>& season, const EloParameters& elo);

// An Elo file: "code,elo" and a row per club. Throws InputDataError with the line of a row
// that is not a code and a rating between 0 and 10,000.
std::string eloFileText(const EloRatings& ratings);
EloRatings parseEloFile(const std::vector<CsvRow>& rows, const std::string& label);

// The name of a season folder's file of its clubs' Elo ratings after its last game.
inline constexpr const char* EloFileName = "elo.csv";

} // namespace zelkor
