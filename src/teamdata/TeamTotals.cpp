#include "teamdata/TeamTotals.h"

#include "core/DisplayText.h"
#include "core/Errors.h"
#include "teamdata/ItemValue.h"
#include "teamdata/RosterMessages.h"

namespace zelkor {

namespace {

// One team's counts as the prediction takes them, each fault a finding.
class TeamCounts {
public:
    TeamCounts(const RosterTable& table, const std::string& code, RosterFindings& findings,
               const std::vector<int>* lines = nullptr)
        : table_(table), code_(code), findings_(findings), lines_(lines),
          goalsStep_("adding up the goals of " + fileInSentence(code)),
          assistsStep_("adding up the assists of " + fileInSentence(code)) {}

    // The numeric value of a games, goals or assists cell; a negative count is refused.
    Single count(int player, int column) {
        const ItemNumber number = itemNumber(table_.at(player, column));
        const auto at = [&](FindingSeverity severity, FindingKind kind, std::string words,
                            std::string message) {
            findings_.add({severity, kind, lineOf(player, column), player, column, words, message});
        };
        if (!number.overflow.empty()) {
            at(FindingSeverity::Error, FindingKind::Overflow, number.overflow,
               cellLabel(code_, player, column) + ": " + number.overflow);
            return 0;
        }
        if (number.value < 0) {
            const std::string has = fileLabel(code_) + ": player row " + std::to_string(player) +
                                    " has " + columnName(column) + " " + shownValue(number.value);
            at(FindingSeverity::Error, FindingKind::Data,
               "negative (" + shownValue(number.value) + "); counts must not be negative",
               has + "; games played, goals and assists must not be negative.");
        } else if (findings_.listing() && column == GamesColumn && number.value == 0) {
            at(FindingSeverity::Error, FindingKind::ScoringRate,
               "0; every player needs games played above 0", {});
        }
        if (findings_.listing() && number.form != NumberForm::Whole) {
            const std::string& item = table_.at(player, column);
            at(FindingSeverity::Warning, FindingKind::Data,
               number.form == NumberForm::Leading
                   ? "'" + quotedText(item) + "' is read as " + shownValue(number.value)
                   : (item.empty() ? "empty" : "'" + quotedText(item) + "' is not a number") +
                         std::string("; it counts 0"),
               {});
        }
        return number.value;
    }

    // A total's fault stands on the line of the row that made it.
    Single addGoals(Single total, Single value, int player) {
        return added(total, value, goalsStep_, lineOf(player, GoalsColumn));
    }
    Single addAssists(Single total, Single value, int player) {
        return added(total, value, assistsStep_, lineOf(player, AssistsColumn));
    }

    // goalSum / assistSum; assists adding up to 0 are refused before the division. Goals
    // adding up to 0 give a ratio of 0, on which the finishing factor fails later.
    Single goalsPerAssist(Single goalSum, Single assistSum) {
        const std::string players = std::to_string(PlayersPerTeam) + " players add up to 0";
        if (assistSum == 0) {
            whole(FindingKind::Data,
                  "the assists of the " + players + "; the prediction needs some",
                  fileLabel(code_) + ": the assists of its " + players +
                      ", so its goals per assist cannot be computed.");
            return 0;
        }
        if (goalSum == 0 && findings_.listing()) {
            whole(FindingKind::ScoringRate,
                  "the goals of the " + players + "; the prediction needs some", {});
        }
        const std::string step = "the goals per assist of " + fileInSentence(code_);
        return checked([&] { return checkedDivide(goalSum, assistSum, step.c_str()); }, step);
    }

private:
    int lineOf(int player, int column) const {
        const auto index = static_cast<std::size_t>((player - 1) * RosterColumns + column - 1);
        return lines_ != nullptr && index < lines_->size() ? (*lines_)[index] : 0;
    }

    void whole(FindingKind kind, std::string words, std::string message, int line = 0) {
        findings_.add(
            {FindingSeverity::Error, kind, line, 0, 0, std::move(words), std::move(message)});
    }

    // total + value, rounded to a Single and checked; a total that failed stays failed.
    Single added(Single total, Single value, const std::string& step, int line) {
        return checked([&] { return static_cast<double>(total) + static_cast<double>(value); },
                       step, line);
    }

    template <class Compute>
    Single checked(Compute compute, const std::string& step, int line = 0) {
        if (!findings_.listing()) {
            return toSingle(compute(), step.c_str());
        }
        if (failed_) {
            return 0;
        }
        try {
            return toSingle(compute(), step.c_str());
        } catch (const OverflowError& error) {
            whole(FindingKind::Overflow, error.what(), error.what(), line);
        } catch (const ArithmeticError& error) {
            whole(FindingKind::Arithmetic, error.what(), error.what(), line);
        }
        failed_ = true;
        return 0;
    }

    const RosterTable& table_;
    const std::string& code_;
    RosterFindings& findings_;
    const std::vector<int>* lines_;
    std::string goalsStep_;
    std::string assistsStep_;
    bool failed_ = false;
};

} // namespace

void computeTeamTotals(PredictionState& state, const std::string& visitorCode,
                       const std::string& homeCode) {
    RosterFindings findings(RosterFindings::Mode::ThrowFirstError);
    TeamCounts visitor(state.RosterX, visitorCode, findings);
    TeamCounts home(state.RosterY, homeCode, findings);
    // The totals start from 0 at every read.
    state.GoalSumx = 0;
    state.GoalSumy = 0;
    state.AssistSumx = 0;
    state.AssistSumy = 0;

    // Every total is rounded to a Single after each addition, in this order.
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        state.GOALX[player] = visitor.count(player, GoalsColumn);
        state.GoalSumx = visitor.addGoals(state.GoalSumx, state.GOALX[player], player);
        state.GOALY[player] = home.count(player, GoalsColumn);
        state.GoalSumy = home.addGoals(state.GoalSumy, state.GOALY[player], player);
        state.Assistx[player] = visitor.count(player, AssistsColumn);
        state.AssistSumx = visitor.addAssists(state.AssistSumx, state.Assistx[player], player);
        state.Assisty[player] = home.count(player, AssistsColumn);
        state.AssistSumy = home.addAssists(state.AssistSumy, state.Assisty[player], player);
        state.Gamex[player] = visitor.count(player, GamesColumn);
        state.Gamey[player] = home.count(player, GamesColumn);
    }

    state.Ratiox = visitor.goalsPerAssist(state.GoalSumx, state.AssistSumx);
    state.Ratioy = home.goalsPerAssist(state.GoalSumy, state.AssistSumy);
}

void checkTeamCounts(const RosterTable& table, const std::string& code,
                     const std::vector<int>& lines, RosterFindings& findings) {
    TeamCounts team(table, code, findings, &lines);
    Single goals = 0;
    Single assists = 0;
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        goals = team.addGoals(goals, team.count(player, GoalsColumn), player);
        assists = team.addAssists(assists, team.count(player, AssistsColumn), player);
        team.count(player, GamesColumn);
    }
    team.goalsPerAssist(goals, assists);
}

} // namespace zelkor
