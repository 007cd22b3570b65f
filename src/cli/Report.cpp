#include "cli/Report.h"

#include "cli/JsonText.h"
#include "core/DisplayText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>

namespace zelkor {

namespace {

nlohmann::ordered_json gamesJson(const std::vector<PlayedGame>& games) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const PlayedGame& game : games) {
        nlohmann::ordered_json goals = nlohmann::ordered_json::array();
        for (const PlayedGame::Goal& goal : game.goals) {
            goals.push_back({{"team", goal.visiting ? "visitor" : "home"},
                             {"row", goal.row},
                             {"minute", goal.minute},
                             {"overtime", goal.overtime}});
        }
        // A shootout's winner is credited a goal that no player scored.
        const bool shootout = game.overtime && game.visitorScore != game.homeScore &&
                              std::none_of(game.goals.begin(), game.goals.end(),
                                           [](const auto& goal) { return goal.overtime; });
        list.push_back({{"visitor_score", game.visitorScore},
                        {"home_score", game.homeScore},
                        {"overtime", game.overtime},
                        {"shootout", shootout},
                        {"goals", goals}});
    }
    return list;
}

} // namespace

SeriesReport collectReport(const PredictionState& state, const SeriesFacts& facts,
                           const ConsoleWindow& window, std::optional<std::uint64_t> seed) {
    SeriesReport report;
    report.visitor = state.VISITOR;
    report.home = state.HOME;
    report.seed = seed;
    report.log = window.logLines();
    report.games = window.games();
    report.visitorAverage = facts.visitorAverage;
    report.homeAverage = facts.homeAverage;
    // The caption as the window shows it; a terminal's decimal point is a full stop.
    report.moneyLine = moneyLineCaption(facts, state.VISITOR, state.HOME, ".");
    report.winsVisitor = state.Winsx;
    report.winsHome = state.Winsy;
    // A level game is counted on both sides; Tiesx alone counts it once.
    report.ties = state.Tiesx;
    report.goalsVisitor = state.Goalsx;
    report.goalsHome = state.Goalsy;
    return report;
}

void writeTextReport(const SeriesReport& report, std::ostream& out) {
    // A terminal would act on control characters in a name; JSON escapes them itself.
    for (const std::string& line : report.log) {
        out << visibleText(line) << '\n';
    }
    out << visibleText(report.visitor) << " average score: " << report.visitorAverage << '\n';
    out << visibleText(report.home) << " average score: " << report.homeAverage << '\n';
    out << "Money line: " << visibleText(report.moneyLine) << '\n';
    out << "Ratings: " << visibleText(report.ratings) << '\n';
}

void writeJsonReport(const SeriesReport& report, std::ostream& out) {
    nlohmann::ordered_json object;
    object["visitor"] = report.visitor;
    object["home"] = report.home;
    object["seed"] = report.seed ? nlohmann::ordered_json(*report.seed) : nullptr;
    object["log"] = report.log;
    object["games"] = gamesJson(report.games);
    object["visitor_average"] = report.visitorAverage;
    object["home_average"] = report.homeAverage;
    object["money_line"] = report.moneyLine;
    object["wins_visitor"] = report.winsVisitor;
    object["wins_home"] = report.winsHome;
    object["ties"] = report.ties;
    object["goals_visitor"] = report.goalsVisitor;
    object["goals_home"] = report.goalsHome;
    object["ratings"] = report.ratings;
    out << jsonText(object);
}

} // namespace zelkor
