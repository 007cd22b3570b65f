#include "odds/OddsFigures.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>
#include <tuple>

namespace zelkor {

namespace {

constexpr double WilsonZ = 1.959963984540054; // the normal quantile of a 95 % interval
constexpr double AmericanBase = 100.0;        // American odds are quoted against 100
// Beyond these no bookmaker quotes a money line: -1e300 would read as even money.
constexpr double LeastDecimalOdds = 1.01;
constexpr double MostDecimalOdds = 1000;
constexpr double MostAmericanOdds = 100'000;

double share(std::uint64_t part, std::uint64_t whole) {
    return whole == 0 ? 0.0 : static_cast<double>(part) / static_cast<double>(whole);
}

std::optional<double> wholeNumber(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end || text.empty() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

ScoreGridShares scoreGridShares(const OddsTally& tally) {
    std::array<std::array<std::uint64_t, ScoreGridGoals>, ScoreGridGoals> counts{};
    for (const auto& [score, count] : tally.scores()) {
        counts[static_cast<std::size_t>(std::min(score.first, ScoreGridGoals - 1))]
              [static_cast<std::size_t>(std::min(score.second, ScoreGridGoals - 1))] += count;
    }
    ScoreGridShares shares{};
    for (std::size_t v = 0; v < counts.size(); ++v) {
        for (std::size_t h = 0; h < counts[v].size(); ++h) {
            shares[v][h] = share(counts[v][h], tally.games);
        }
    }
    return shares;
}

std::vector<MoneyLineShare> moneyLineShares(const OddsTally& tally) {
    std::vector<MoneyLineShare> lines;
    for (const Favourite favourite : {Favourite::Visitor, Favourite::Home, Favourite::Neither}) {
        for (int points = 0; points <= MostSeriesPoints; ++points) {
            const std::uint64_t count = tally.moneyLines[static_cast<std::size_t>(favourite)]
                                                        [static_cast<std::size_t>(points)];
            if (count == 0) {
                continue;
            }
            const int cents = favourite == Favourite::Neither ? 0 : moneyCentsOfPoints(points);
            // Points that round to the same odds make one line, as the face-off shows them.
            const auto same = std::find_if(lines.begin(), lines.end(), [&](const auto& line) {
                return line.favourite == favourite && line.moneyCents == cents;
            });
            if (same == lines.end()) {
                lines.push_back({favourite, cents, count, 0});
            } else {
                same->series += count;
            }
        }
    }
    for (MoneyLineShare& line : lines) {
        line.share = share(line.series, tally.series);
    }
    std::sort(lines.begin(), lines.end(), [&tally](const auto& a, const auto& b) {
        return std::make_tuple(b.series, moneyLineCaption(a, tally)) <
               std::make_tuple(a.series, moneyLineCaption(b, tally));
    });
    return lines;
}

std::array<ScorerFigures, PlayersPerTeam>
rankedScorers(const std::array<PlayerTally, PlayersPerTeam>& players, std::uint64_t games) {
    std::array<ScorerFigures, PlayersPerTeam> ranked{};
    for (std::size_t row = 0; row < players.size(); ++row) {
        ranked[row] = {row, share(players[row].goals, games), anytimeScorer(players[row], games)};
    }
    std::stable_sort(ranked.begin(), ranked.end(), [&players](const auto& a, const auto& b) {
        return players[a.row].goals > players[b.row].goals;
    });
    return ranked;
}

} // namespace

Probability wilsonProbability(std::uint64_t hits, std::uint64_t trials) {
    if (trials == 0) {
        return {};
    }
    const double n = static_cast<double>(trials);
    const double p = share(hits, trials);
    const double z2 = WilsonZ * WilsonZ;
    const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
    const double spread = WilsonZ / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
    return {p, std::max(0.0, centre - spread), std::min(1.0, centre + spread)};
}

std::optional<FairOdds> fairOdds(double probability) {
    if (!(probability > 0 && probability < 1)) {
        return std::nullopt;
    }
    const double decimal = 1 / probability;
    return FairOdds{decimal, americanOdds(decimal), probability};
}

double americanOdds(double decimalOdds) {
    // At even money (2.0) both forms are +100.
    if (decimalOdds >= 2) {
        return (decimalOdds - 1) * AmericanBase;
    }
    return -AmericanBase / (decimalOdds - 1);
}

std::optional<double> parseOfferedOdds(std::string_view text) {
    const bool signed_ = !text.empty() && (text.front() == '+' || text.front() == '-');
    const std::string_view number = signed_ ? text.substr(1) : text;
    // Digits and at most one decimal point: "1e3" or "0x10" are no prices.
    if (number.find_first_not_of("0123456789.") != std::string_view::npos ||
        std::count(number.begin(), number.end(), '.') > 1) {
        return std::nullopt;
    }
    const auto value = wholeNumber(number);
    if (!value) {
        return std::nullopt;
    }
    // One rule: a price with a decimal point is decimal odds ("500.0" too); so is an
    // unsigned whole number below 100, since no money line is 100 to 1 in decimal.
    const bool pointed = number.find('.') != std::string_view::npos;
    if (!signed_ && (pointed || *value < AmericanBase)) {
        return *value >= LeastDecimalOdds && *value <= MostDecimalOdds ? value : std::nullopt;
    }
    // American odds are at least 100 either way: +100 and -100 are even money.
    if (*value < AmericanBase || *value > MostAmericanOdds) {
        return std::nullopt;
    }
    return text.front() == '-' ? 1 + AmericanBase / *value : 1 + *value / AmericanBase;
}

double edgePerUnit(double winProbability, double lossProbability, double decimalOdds) {
    return winProbability * (decimalOdds - 1) - lossProbability;
}

OddsFigures oddsFigures(const OddsTally& tally, std::optional<double> offeredVisitor,
                        std::optional<double> offeredHome) {
    OddsFigures figures;
    const std::uint64_t games = tally.games;
    const std::uint64_t visitorWins = tally.visitorWinsRegulation + tally.visitorWinsOvertime;
    const std::uint64_t homeWins = tally.homeWinsRegulation + tally.homeWinsOvertime;
    figures.visitorRegulation = wilsonProbability(tally.visitorWinsRegulation, games);
    figures.visitorOvertime = wilsonProbability(tally.visitorWinsOvertime, games);
    figures.homeRegulation = wilsonProbability(tally.homeWinsRegulation, games);
    figures.homeOvertime = wilsonProbability(tally.homeWinsOvertime, games);
    figures.tie = wilsonProbability(tally.ties, games);
    figures.visitorWin = wilsonProbability(visitorWins, games);
    figures.homeWin = wilsonProbability(homeWins, games);
    figures.visitorTwoWay = share(visitorWins, visitorWins + homeWins);
    figures.homeTwoWay = share(homeWins, visitorWins + homeWins);
    figures.visitorFair = fairOdds(figures.visitorTwoWay);
    figures.homeFair = fairOdds(figures.homeTwoWay);
    figures.expectedGoalsVisitor = share(tally.goalsVisitor, games);
    figures.expectedGoalsHome = share(tally.goalsHome, games);

    std::array<std::uint64_t, TotalLines.size()> over{};
    std::uint64_t visitorByTwo = 0;
    std::uint64_t homeByTwo = 0;
    for (const auto& [score, count] : tally.scores()) {
        const auto [visitorGoals, homeGoals] = score;
        for (std::size_t line = 0; line < TotalLines.size(); ++line) {
            over[line] += visitorGoals + homeGoals > TotalLines[line] ? count : 0;
        }
        visitorByTwo += visitorGoals - homeGoals >= 2 ? count : 0;
        homeByTwo += homeGoals - visitorGoals >= 2 ? count : 0;
    }
    for (std::size_t line = 0; line < TotalLines.size(); ++line) {
        figures.over[line] = share(over[line], games);
    }
    figures.visitorByTwo = share(visitorByTwo, games);
    figures.homeByTwo = share(homeByTwo, games);

    if (offeredVisitor && games > 0) {
        figures.visitorEdge =
            edgePerUnit(figures.visitorWin.value, figures.homeWin.value, *offeredVisitor);
    }
    if (offeredHome && games > 0) {
        figures.homeEdge =
            edgePerUnit(figures.homeWin.value, figures.visitorWin.value, *offeredHome);
    }
    figures.scoreGrid = scoreGridShares(tally);
    figures.moneyLines = moneyLineShares(tally);
    figures.visitorScorers = rankedScorers(tally.visitorPlayers, games);
    figures.homeScorers = rankedScorers(tally.homePlayers, games);
    return figures;
}

double anytimeScorer(const PlayerTally& player, std::uint64_t games) {
    return share(player.gamesWithGoal, games);
}

std::string moneyLineCaption(const MoneyLineShare& line, const OddsTally& tally,
                             const std::string& decimalSeparator) {
    SeriesFacts facts;
    facts.favourite = line.favourite;
    facts.moneyCents = line.moneyCents;
    return moneyLineCaption(facts, tally.visitor, tally.home, decimalSeparator);
}

std::string twoGoalMarginName(const std::string& code) {
    return code + " wins by 2 or more";
}

namespace {

// "4.5": a line's goals as the books write them.
std::string goalsText(double goals) {
    std::array<char, 32> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), goals, std::chars_format::fixed, 1);
    return std::string(text.data(), result.ptr);
}

} // namespace

std::vector<BettingLine> bettingLines(const OddsTally& tally,
                                      std::span<const std::optional<double>> offered) {
    const OddsFigures figures = oddsFigures(tally);
    const double visitorRegulation = figures.visitorRegulation.value;
    const double homeRegulation = figures.homeRegulation.value;
    // Level after 60 minutes: every game that went to overtime, and so to a shootout.
    const double draw = tally.games == 0 ? 0 : 1 - visitorRegulation - homeRegulation;
    const std::string regulation = "Regulation time, three-way";
    const std::string totals = "Total goals";
    const std::string puckLine = "Puck line";
    std::vector<BettingLine> lines{
        {regulation, tally.visitor, LineSide::Visitor, visitorRegulation, {}, {}},
        {regulation, "Draw", LineSide::Neither, draw, {}, {}},
        {regulation, tally.home, LineSide::Home, homeRegulation, {}, {}},
    };
    // The complement of a line's chance: of all games, none before the first.
    const double all = tally.games == 0 ? 0 : 1;
    for (std::size_t line = 0; line < TotalLines.size(); ++line) {
        const std::string goals = goalsText(TotalLines[line]);
        lines.push_back({totals, "Over " + goals, LineSide::Neither, figures.over[line], {}, {}});
        lines.push_back(
            {totals, "Under " + goals, LineSide::Neither, all - figures.over[line], {}, {}});
    }
    // A side at +1.5 wins unless the other side wins by two or more.
    lines.push_back(
        {puckLine, tally.visitor + " -1.5", LineSide::Visitor, figures.visitorByTwo, {}, {}});
    lines.push_back(
        {puckLine, tally.home + " +1.5", LineSide::Home, all - figures.visitorByTwo, {}, {}});
    lines.push_back({puckLine, tally.home + " -1.5", LineSide::Home, figures.homeByTwo, {}, {}});
    lines.push_back(
        {puckLine, tally.visitor + " +1.5", LineSide::Visitor, all - figures.homeByTwo, {}, {}});
    for (std::size_t i = 0; i < lines.size(); ++i) {
        BettingLine& line = lines[i];
        line.fair = fairOdds(line.chance);
        if (i < offered.size() && offered[i] && tally.games > 0) {
            line.edge = edgePerUnit(line.chance, 1 - line.chance, *offered[i]);
        }
    }
    return lines;
}

std::optional<FairOdds> anytimeScorerOdds(const ScorerFigures& scorer) {
    return fairOdds(scorer.anytime);
}

} // namespace zelkor
