#include "odds/OddsTally.h"

#include <bit>
#include <cstddef>

namespace zelkor {

namespace {

constexpr std::size_t FavouriteIndex(Favourite favourite) {
    return static_cast<std::size_t>(favourite);
}

// The points that name a series' money line: the favourite's, or either side's when level.
int captionPoints(const SeriesFacts& facts) {
    return facts.favourite == Favourite::Home ? facts.homePoints : facts.visitorPoints;
}

void addPlayers(std::array<PlayerTally, PlayersPerTeam>& into,
                const std::array<PlayerTally, PlayersPerTeam>& from) {
    for (std::size_t row = 0; row < into.size(); ++row) {
        into[row].goals += from[row].goals;
        into[row].gamesWithGoal += from[row].gamesWithGoal;
    }
}

} // namespace

void OddsTally::addSeries(const SeriesOutcome& outcome, const SeriesFacts& facts) {
    ++series;
    for (const GameResult& game : outcome.games) {
        ++games;
        goalsVisitor += static_cast<std::uint64_t>(game.visitorGoals);
        goalsHome += static_cast<std::uint64_t>(game.homeGoals);
        overtimeGames += game.overtime ? 1 : 0;
        if (game.visitorGoals > game.homeGoals) {
            ++(game.overtime ? visitorWinsOvertime : visitorWinsRegulation);
        } else if (game.homeGoals > game.visitorGoals) {
            ++(game.overtime ? homeWinsOvertime : homeWinsRegulation);
        } else {
            ++ties;
        }
        if (game.visitorGoals < ScoreGridSize && game.homeGoals < ScoreGridSize) {
            ++scoreGrid[static_cast<std::size_t>(game.visitorGoals)]
                       [static_cast<std::size_t>(game.homeGoals)];
        } else {
            ++otherScores[{game.visitorGoals, game.homeGoals}];
        }
    }
    // Rows that scored in a game, one bit each, so that a game counts once per scorer.
    std::array<std::uint32_t, GamesPerSeries> visitorScorers{};
    std::array<std::uint32_t, GamesPerSeries> homeScorers{};
    for (const ScoredGoal& goal : outcome.goals) {
        const std::size_t row = goal.row - 1U;
        auto& scorers = goal.visiting ? visitorScorers : homeScorers;
        ++(goal.visiting ? visitorPlayers : homePlayers)[row].goals;
        scorers[goal.game - 1U] |= 1U << row;
    }
    for (std::size_t game = 0; game < GamesPerSeries; ++game) {
        for (std::uint32_t bits = visitorScorers[game]; bits != 0; bits &= bits - 1) {
            ++visitorPlayers[static_cast<std::size_t>(std::countr_zero(bits))].gamesWithGoal;
        }
        for (std::uint32_t bits = homeScorers[game]; bits != 0; bits &= bits - 1) {
            ++homePlayers[static_cast<std::size_t>(std::countr_zero(bits))].gamesWithGoal;
        }
    }
    ++moneyLines[FavouriteIndex(facts.favourite)][static_cast<std::size_t>(captionPoints(facts))];
}

void OddsTally::add(const OddsTally& other) {
    series += other.series;
    games += other.games;
    visitorWinsRegulation += other.visitorWinsRegulation;
    visitorWinsOvertime += other.visitorWinsOvertime;
    homeWinsRegulation += other.homeWinsRegulation;
    homeWinsOvertime += other.homeWinsOvertime;
    ties += other.ties;
    overtimeGames += other.overtimeGames;
    goalsVisitor += other.goalsVisitor;
    goalsHome += other.goalsHome;
    for (std::size_t v = 0; v < scoreGrid.size(); ++v) {
        for (std::size_t h = 0; h < scoreGrid[v].size(); ++h) {
            scoreGrid[v][h] += other.scoreGrid[v][h];
        }
    }
    for (const auto& [score, count] : other.otherScores) {
        otherScores[score] += count;
    }
    for (std::size_t side = 0; side < moneyLines.size(); ++side) {
        for (std::size_t points = 0; points < moneyLines[side].size(); ++points) {
            moneyLines[side][points] += other.moneyLines[side][points];
        }
    }
    addPlayers(visitorPlayers, other.visitorPlayers);
    addPlayers(homePlayers, other.homePlayers);
}

std::uint64_t OddsTally::scoreCount(int visitorGoals, int homeGoals) const {
    if (visitorGoals < 0 || homeGoals < 0) {
        return 0;
    }
    if (visitorGoals < ScoreGridSize && homeGoals < ScoreGridSize) {
        return scoreGrid[static_cast<std::size_t>(visitorGoals)]
                        [static_cast<std::size_t>(homeGoals)];
    }
    const auto found = otherScores.find({visitorGoals, homeGoals});
    return found == otherScores.end() ? 0 : found->second;
}

std::map<std::pair<int, int>, std::uint64_t> OddsTally::scores() const {
    std::map<std::pair<int, int>, std::uint64_t> all = otherScores;
    for (int v = 0; v < ScoreGridSize; ++v) {
        for (int h = 0; h < ScoreGridSize; ++h) {
            if (const std::uint64_t count = scoreCount(v, h); count != 0) {
                all[{v, h}] = count;
            }
        }
    }
    return all;
}

std::map<std::string, std::uint64_t>
OddsTally::moneyLineCaptions(const std::string& decimalSeparator) const {
    std::map<std::string, std::uint64_t> captions;
    for (const Favourite favourite : {Favourite::Visitor, Favourite::Home, Favourite::Neither}) {
        for (int points = 0; points <= MostSeriesPoints; ++points) {
            const std::uint64_t count =
                moneyLines[FavouriteIndex(favourite)][static_cast<std::size_t>(points)];
            if (count == 0) {
                continue;
            }
            SeriesFacts facts;
            facts.favourite = favourite;
            facts.moneyCents = favourite == Favourite::Neither ? 0 : moneyCentsOfPoints(points);
            captions[moneyLineCaption(facts, visitor, home, decimalSeparator)] += count;
        }
    }
    return captions;
}

} // namespace zelkor
