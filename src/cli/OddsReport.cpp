#include "cli/OddsReport.h"

#include "core/DisplayText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <ostream>
#include <string>
#include <vector>

namespace zelkor {

namespace {
constexpr std::size_t TopScorers = 5; // players listed per team
constexpr int LabelWidth = 28;        // the label column of the tables
constexpr int ValueWidth = 10;        // every number column
constexpr double Percent = 100.0;     // shares are shown as percentages

std::string fixed(double value, int decimals) {
    std::array<char, 64> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed, decimals);
    return std::string(text.data(), result.ptr);
}

std::string percent(double share) {
    return fixed(share * Percent, 1) + " %";
}

// Written by appending: GCC 12 takes an insert at the front for an overlapping copy
// (-Wrestrict) in an optimised build.
std::string signedText(double value, int decimals) {
    std::string text = value > 0 ? "+" : "";
    return text.append(fixed(value, decimals));
}

// A whole number with thin groups of three, for counts a person reads.
std::string grouped(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string text;
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at > 0 && (digits.size() - at) % 3 == 0) {
            text += ',';
        }
        text += digits[at];
    }
    return text;
}

std::string padLeft(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string padRight(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

void row(std::ostream& out, const std::string& label, const std::vector<std::string>& values) {
    out << "  " << padRight(label, LabelWidth);
    for (const std::string& value : values) {
        out << padLeft(value, ValueWidth);
    }
    out << '\n';
}

std::string interval(const Probability& p) {
    return percent(p.low) + " - " + percent(p.high);
}

void writeOutcomes(const OddsReport& report, const OddsFigures& figures, std::ostream& out) {
    const std::string visitor = visibleText(report.tally.visitor);
    const std::string home = visibleText(report.tally.home);
    out << "How the games ended (95 % interval)\n";
    const auto outcome = [&out](const std::string& label, const Probability& p) {
        out << "  " << padRight(label, LabelWidth) << padLeft(percent(p.value), ValueWidth) << "   "
            << interval(p) << '\n';
    };
    outcome(visitor + " wins in regulation", figures.visitorRegulation);
    outcome(visitor + " wins in overtime", figures.visitorOvertime);
    outcome(home + " wins in regulation", figures.homeRegulation);
    outcome(home + " wins in overtime", figures.homeOvertime);
    outcome("Level after overtime", figures.tie);
    out << '\n';

    out << "Money line, level games as pushes\n";
    row(out, "", {"chance", "decimal", "American", "edge"});
    const auto side = [&](const std::string& code, double chance,
                          const std::optional<FairOdds>& fair, const std::optional<double>& offered,
                          const std::optional<double>& edge) {
        row(out, code + " fair",
            {percent(chance), fair ? fixed(fair->decimal, 2) : "-",
             fair ? signedText(fair->american, 0) : "-", ""});
        if (offered && edge) {
            // A positive edge of a size the backtest did not find paying is marked.
            const bool unproven = *edge > 0 && !edgeFoundProfitable(report.tested, *edge);
            row(out, code + " offered",
                {"", fixed(*offered, 2), signedText(americanOdds(*offered), 0),
                 signedText(*edge * Percent, 1) + (unproven ? " %*" : " %")});
        }
    };
    side(visitor, figures.visitorTwoWay, figures.visitorFair, report.offeredVisitor,
         figures.visitorEdge);
    side(home, figures.homeTwoWay, figures.homeFair, report.offeredHome, figures.homeEdge);
    if (report.offeredVisitor || report.offeredHome) {
        out << "  (edge: expected return per unit staked; a level game returns the stake;\n"
            << "   * an edge of a size the backtest did not find profitable)\n"
            << "  " << marketSummaryLine(report.tested) << '\n';
    }
    out << '\n';
}

void writeGoals(const OddsReport& report, const OddsFigures& figures, std::ostream& out) {
    const std::string visitor = visibleText(report.tally.visitor);
    const std::string home = visibleText(report.tally.home);
    out << "Goals\n";
    row(out, "Expected goals " + visitor, {fixed(figures.expectedGoalsVisitor, 2)});
    row(out, "Expected goals " + home, {fixed(figures.expectedGoalsHome, 2)});
    row(out, "Total goals", {"over", "under"});
    for (std::size_t line = 0; line < TotalLines.size(); ++line) {
        row(out, "  " + fixed(TotalLines[line], 1),
            {percent(figures.over[line]), percent(1 - figures.over[line])});
    }
    row(out, visibleText(twoGoalMarginName(report.tally.visitor)), {percent(figures.visitorByTwo)});
    row(out, visibleText(twoGoalMarginName(report.tally.home)), {percent(figures.homeByTwo)});
    out << '\n';
}

void writeScoreGrid(const OddsReport& report, const OddsFigures& figures, std::ostream& out) {
    const OddsTally& tally = report.tally;
    out << "Final scores, % of games (" << visibleText(tally.visitor) << " goals down, "
        << visibleText(tally.home) << " goals across; " << ScoreGridGoals - 1 << "+ holds more)\n";
    constexpr std::size_t CellWidth = 6;
    const auto goals = [](int count) {
        return std::to_string(count) + (count == ScoreGridGoals - 1 ? "+" : "");
    };
    out << "      ";
    for (int home = 0; home < ScoreGridGoals; ++home) {
        out << padLeft(goals(home), CellWidth);
    }
    out << '\n';
    for (int visitor = 0; visitor < ScoreGridGoals; ++visitor) {
        out << padLeft(goals(visitor), 4) << "  ";
        for (const double share : figures.scoreGrid[static_cast<std::size_t>(visitor)]) {
            out << padLeft(share == 0 ? "." : fixed(share * Percent, 1), CellWidth);
        }
        out << '\n';
    }
    out << '\n';
}

void writeMoneyLines(const OddsReport& report, const OddsFigures& figures, std::ostream& out) {
    out << "What FaceOff! shows for an 11-game series\n";
    for (const MoneyLineShare& line : figures.moneyLines) {
        row(out, visibleText(moneyLineCaption(line, report.tally)), {percent(line.share)});
    }
    out << '\n';
}

void writeScorers(const std::string& code, const std::array<PlayerTally, PlayersPerTeam>& players,
                  const std::array<ScorerFigures, PlayersPerTeam>& ranked, std::ostream& out) {
    out << "Top scorers of " << visibleText(code) << '\n';
    row(out, "", {"goals/game", "anytime"});
    for (std::size_t rank = 0; rank < TopScorers; ++rank) {
        const ScorerFigures& scorer = ranked[rank];
        row(out, quotedText(players[scorer.row].name, LabelWidth - 2),
            {fixed(scorer.goalsPerGame, 3), percent(scorer.anytime)});
    }
    out << '\n';
}

} // namespace

void writeOddsText(const OddsReport& report, std::ostream& out) {
    const OddsTally& tally = report.tally;
    const OddsFigures figures = oddsFigures(tally, report.offeredVisitor, report.offeredHome);
    out << visibleText(tally.visitor) << " at " << visibleText(tally.home) << ": "
        << grouped(tally.series) << " series, " << grouped(tally.games) << " games (base seed "
        << report.baseSeed << ")\n";
    out << "Ratings: " << visibleText(report.ratings) << "\n\n";
    writeOutcomes(report, figures, out);
    writeGoals(report, figures, out);
    writeScoreGrid(report, figures, out);
    writeMoneyLines(report, figures, out);
    writeScorers(tally.visitor, tally.visitorPlayers, figures.visitorScorers, out);
    writeScorers(tally.home, tally.homePlayers, figures.homeScorers, out);
}

} // namespace zelkor
