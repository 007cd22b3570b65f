#include "season/OddsJson.h"

#include <nlohmann/json.hpp>

#include <array>
#include <ostream>
#include <string>

namespace zelkor {

namespace {

nlohmann::ordered_json probabilityJson(const Probability& p) {
    return {{"p", p.value}, {"low", p.low}, {"high", p.high}};
}

nlohmann::ordered_json fairJson(const std::optional<FairOdds>& fair) {
    if (!fair) {
        return nullptr;
    }
    return {{"decimal", fair->decimal}, {"american", fair->american}, {"implied", fair->implied}};
}

template <typename Value> nlohmann::ordered_json optionalJson(const std::optional<Value>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

// Roster rows from 1, in the order the text and the window list the scorers.
nlohmann::ordered_json rankJson(const std::array<ScorerFigures, PlayersPerTeam>& ranked) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const ScorerFigures& scorer : ranked) {
        rows.push_back(scorer.row + 1);
    }
    return rows;
}

nlohmann::ordered_json playersJson(const std::array<PlayerTally, PlayersPerTeam>& players,
                                   std::uint64_t games) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const PlayerTally& player : players) {
        list.push_back({{"name", player.name},
                        {"goals", player.goals},
                        {"games_with_goal", player.gamesWithGoal},
                        {"anytime", anytimeScorer(player, games)}});
    }
    return list;
}

} // namespace

void writeOddsJson(const OddsReport& report, std::ostream& out) {
    const OddsTally& tally = report.tally;
    const OddsFigures figures = oddsFigures(tally, report.offeredVisitor, report.offeredHome);
    nlohmann::ordered_json object;
    object["visitor"] = tally.visitor;
    object["home"] = tally.home;
    object["series"] = tally.series;
    object["games"] = tally.games;
    object["seed"] = report.baseSeed;
    object["visitor_wins_regulation"] = tally.visitorWinsRegulation;
    object["visitor_wins_overtime"] = tally.visitorWinsOvertime;
    object["home_wins_regulation"] = tally.homeWinsRegulation;
    object["home_wins_overtime"] = tally.homeWinsOvertime;
    object["ties"] = tally.ties;
    object["overtime_games"] = tally.overtimeGames;
    object["goals_visitor"] = tally.goalsVisitor;
    object["goals_home"] = tally.goalsHome;
    nlohmann::ordered_json scores = nlohmann::ordered_json::object();
    for (const auto& [score, count] : tally.scores()) {
        scores[std::to_string(score.first) + "-" + std::to_string(score.second)] = count;
    }
    object["scores"] = scores;
    nlohmann::ordered_json moneyLines = nlohmann::ordered_json::object();
    for (const auto& [caption, count] : tally.moneyLineCaptions()) {
        moneyLines[caption] = count;
    }
    object["money_lines"] = moneyLines;
    object["visitor_players"] = playersJson(tally.visitorPlayers, tally.games);
    object["home_players"] = playersJson(tally.homePlayers, tally.games);

    object["probabilities"] = {{"visitor_regulation", probabilityJson(figures.visitorRegulation)},
                               {"visitor_overtime", probabilityJson(figures.visitorOvertime)},
                               {"home_regulation", probabilityJson(figures.homeRegulation)},
                               {"home_overtime", probabilityJson(figures.homeOvertime)},
                               {"tie", probabilityJson(figures.tie)},
                               {"visitor_win", probabilityJson(figures.visitorWin)},
                               {"home_win", probabilityJson(figures.homeWin)}};
    object["two_way"] = {{"visitor", figures.visitorTwoWay}, {"home", figures.homeTwoWay}};
    object["fair_odds"] = {{"visitor", fairJson(figures.visitorFair)},
                           {"home", fairJson(figures.homeFair)}};
    object["expected_goals"] = {{"visitor", figures.expectedGoalsVisitor},
                                {"home", figures.expectedGoalsHome}};
    nlohmann::ordered_json totals = nlohmann::ordered_json::array();
    for (std::size_t line = 0; line < TotalLines.size(); ++line) {
        totals.push_back({{"line", TotalLines[line]},
                          {"over", figures.over[line]},
                          {"under", 1 - figures.over[line]}});
    }
    object["totals"] = totals;
    object["puck_line"] = {{"visitor_by_2", figures.visitorByTwo},
                           {"home_by_2", figures.homeByTwo}};
    object["offered_odds"] = {{"visitor", optionalJson(report.offeredVisitor)},
                              {"home", optionalJson(report.offeredHome)}};
    object["edges"] = {{"visitor", optionalJson(figures.visitorEdge)},
                       {"home", optionalJson(figures.homeEdge)}};
    const auto found = [&](const std::optional<double>& edge) {
        return edge ? nlohmann::ordered_json(edgeFoundProfitable(report.tested, *edge)) : nullptr;
    };
    object["edges_found_profitable"] = {{"visitor", found(figures.visitorEdge)},
                                        {"home", found(figures.homeEdge)}};
    object["model_tested"] = marketSummaryLine(report.tested);
    object["scorer_ranks"] = {{"visitor", rankJson(figures.visitorScorers)},
                              {"home", rankJson(figures.homeScorers)}};
    object["score_grid"] = figures.scoreGrid;
    object["ratings"] = report.ratings;
    out << object.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

} // namespace zelkor
