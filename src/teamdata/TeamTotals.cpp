#include "teamdata/TeamTotals.h"

#include "core/Errors.h"
#include "teamdata/ItemValue.h"
#include "teamdata/RosterMessages.h"

namespace zelkor {

namespace {

// The numeric value of a games, goals or assists cell; a negative count is refused.
Single countOfCell(const RosterTable& table, int player, int column, const std::string& code) {
    const Single value = itemValue(table.at(player, column), cellLabel(code, player, column));
    if (value < 0) {
        throw RosterDataError(fileLabel(code) + ": player row " + std::to_string(player) + " has " +
                              columnName(column) + " " + shownValue(value) +
                              "; games played, goals and assists must not be negative.");
    }
    return value;
}

// total + value, rounded to a Single and checked.
Single addedTo(Single total, Single value, const std::string& step) {
    return toSingle(static_cast<double>(total) + static_cast<double>(value), step.c_str());
}

// goalSum / assistSum; assists adding up to 0 are refused before the division.
Single goalsPerAssist(Single goalSum, Single assistSum, const std::string& code) {
    if (assistSum == 0) {
        throw RosterDataError(fileLabel(code) + ": the assists of its " +
                              std::to_string(PlayersPerTeam) +
                              " players add up to 0, so its goals per assist cannot be "
                              "computed.");
    }
    const std::string step = "the goals per assist of " + fileInSentence(code);
    return toSingle(checkedDivide(goalSum, assistSum, step.c_str()), step.c_str());
}

} // namespace

void computeTeamTotals(PredictionState& state, const std::string& visitorCode,
                       const std::string& homeCode) {
    // The totals start from 0 at every read.
    state.GoalSumx = 0;
    state.GoalSumy = 0;
    state.AssistSumx = 0;
    state.AssistSumy = 0;

    const std::string visitorGoals = "adding up the goals of " + fileInSentence(visitorCode);
    const std::string homeGoals = "adding up the goals of " + fileInSentence(homeCode);
    const std::string visitorAssists = "adding up the assists of " + fileInSentence(visitorCode);
    const std::string homeAssists = "adding up the assists of " + fileInSentence(homeCode);

    // Every total is rounded to a Single after each addition, in this order.
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        state.GOALX[player] = countOfCell(state.RosterX, player, GoalsColumn, visitorCode);
        state.GoalSumx = addedTo(state.GoalSumx, state.GOALX[player], visitorGoals);
        state.GOALY[player] = countOfCell(state.RosterY, player, GoalsColumn, homeCode);
        state.GoalSumy = addedTo(state.GoalSumy, state.GOALY[player], homeGoals);
        state.Assistx[player] = countOfCell(state.RosterX, player, AssistsColumn, visitorCode);
        state.AssistSumx = addedTo(state.AssistSumx, state.Assistx[player], visitorAssists);
        state.Assisty[player] = countOfCell(state.RosterY, player, AssistsColumn, homeCode);
        state.AssistSumy = addedTo(state.AssistSumy, state.Assisty[player], homeAssists);
        state.Gamex[player] = countOfCell(state.RosterX, player, GamesColumn, visitorCode);
        state.Gamey[player] = countOfCell(state.RosterY, player, GamesColumn, homeCode);
    }

    state.Ratiox = goalsPerAssist(state.GoalSumx, state.AssistSumx, visitorCode);
    state.Ratioy = goalsPerAssist(state.GoalSumy, state.AssistSumy, homeCode);
}

} // namespace zelkor
