#include "season/SeasonFit.h"

#include "season/CsvFile.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"
#include "teamdata/RatingsFile.h"

#include <charconv>
#include <memory>

namespace zelkor {

namespace {

// A results file without goals-against averages needs none: the fit gives each club its own.
constexpr Single UnusedGaa = 2.75f;

std::string fileLabel(const std::filesystem::path& file) {
    return "The file '" + shownPath(file) + "'";
}

enum TeamColumn {
    TeamField,
    GamesField,
    GaaField,
    ShortHandedField,
    PowerPlayGoalsField,
    PowerPlayChancesField,
    ShortHandedGoalsField
};

// The team statistics columns, in the order of TeamColumn: the sites' short names and the
// league export's long ones.
const std::vector<CsvColumn>& teamColumns() {
    static const std::vector<CsvColumn> columns{
        {"team", {"Tm", "Team", "teamAbbrev", "teamFullName"}, true},
        {"games played", {"GP", "gamesPlayed"}, true},
        {"goals-against average", {"GAA", "goalsAgainstPerGame"}, false},
        {"times short-handed", {"TSH", "PPOA", "timesShorthanded"}, false},
        {"power-play goals", {"PPG", "powerPlayGoals"}, false},
        {"power-play chances", {"PPO", "powerPlayOpportunities"}, false},
        {"short-handed goals", {"SHG", "SH", "shortHandedGoals"}, false},
    };
    return columns;
}

int countOf(std::string_view field, const std::string& where) {
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc{} || end != field.data() + field.size() || value < 0) {
        throw InputDataError(where + " '" + shownText(field) + "' is not a whole number.");
    }
    return value;
}

} // namespace

SkaterStatistics readSeasonSkaters(const std::filesystem::path& file) {
    return readSkaterStatistics(readCsvFile(file), fileLabel(file),
                                TeamCodeMap({}, TeamCodeKind::League), std::nullopt);
}

std::vector<ResultRow> readSeasonGames(const SeasonBuildRequest& request) {
    std::vector<ResultRow> games;
    for (ResultRow& row : readResults(readCsvFile(request.results), fileLabel(request.results),
                                      TeamCodeMap({}, TeamCodeKind::League), UnusedGaa)
                              .games) {
        if (request.before.empty() || row.date < request.before) {
            games.push_back(std::move(row));
        }
    }
    return games;
}

namespace {

void readTeamStatistics(const SeasonBuildRequest& request, FitOptions& options) {
    if (!request.teamStats) {
        return;
    }
    const std::string label = fileLabel(*request.teamStats);
    const std::vector<CsvRow> rows = readCsvFile(*request.teamStats);
    const std::vector<CsvColumn>& columns = teamColumns();
    const std::optional<CsvHeader> header = findHeader(rows, columns);
    if (!header) {
        throw InputDataError(label + " has no header row naming the columns " +
                             requiredColumnNames(columns) + ".");
    }
    const TeamCodeMap codes;
    const bool special = header->columns[ShortHandedField] &&
                         header->columns[PowerPlayGoalsField] &&
                         header->columns[PowerPlayChancesField];
    for (std::size_t index = header->row + 1; index < rows.size(); ++index) {
        const CsvRow& row = rows[index];
        const auto field = [&](TeamColumn column) { return fieldAt(row, header->columns[column]); };
        const std::optional<std::string> code = codes.codeFor(field(TeamField));
        if (!code || repeatsHeader(row, rows[header->row], *header, columns)) {
            continue; // league totals and teams the season build does not import
        }
        const std::string where = label + ", line " + std::to_string(row.line) + ": ";
        if (!field(GaaField).empty()) {
            double gaa = 0;
            const auto text = field(GaaField);
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), gaa);
            if (error != std::errc{} || end != text.data() + text.size() || !(gaa > 0) ||
                gaa > 100) {
                throw InputDataError(where + "GAA '" + shownText(text) +
                                     "' is not a goals-against average above 0, like 2.75.");
            }
            options.gaa[*code] = static_cast<Single>(gaa);
        }
        if (special) {
            TeamSpecialTeams& totals = options.specialTeams[*code];
            totals.games = countOf(field(GamesField), where + "games played");
            totals.timesShortHanded =
                countOf(field(ShortHandedField), where + "times short-handed");
            totals.powerPlayGoals = countOf(field(PowerPlayGoalsField), where + "power-play goals");
            totals.powerPlayChances =
                countOf(field(PowerPlayChancesField), where + "power-play chances");
            totals.shortHandedGoalsFor =
                header->columns[ShortHandedGoalsField]
                    ? countOf(field(ShortHandedGoalsField), where + "short-handed goals")
                    : 0;
        }
    }
}

} // namespace

FitOptions seasonFitOptions(const SeasonBuildRequest& request,
                            const std::vector<ResultRow>& games) {
    FitOptions options;
    if (request.prior) {
        options.prior = std::make_shared<const RatingTable>(readRatingsFile(*request.prior));
    }
    readTeamStatistics(request, options);
    for (const ResultRow& game : games) {
        options.shootout = options.shootout || game.result == "SO";
    }
    return options;
}

std::optional<RatingsFit> fitSeason(const SeasonBuildRequest& request,
                                    const std::vector<ResultRow>& games,
                                    const std::vector<std::string>& codes,
                                    const std::filesystem::path& rosterFolder,
                                    const FitOptions& options, std::stop_token stop,
                                    const std::function<void(double)>& progress) {
    RatingsFit fit = fitRatings(games, readTeamScoring(rosterFolder, codes), rosterFolder, options);
    return calibrateRatings(std::move(fit), games, rosterFolder, options, FitRounds,
                            request.series.value_or(DefaultFitSeries), stop,
                            [&progress](int done, int total) {
                                if (progress && total > 0) {
                                    progress(double(done) / double(total));
                                }
                            });
}

} // namespace zelkor
