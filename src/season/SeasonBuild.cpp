#include "season/SeasonBuild.h"

#include "season/CsvFile.h"
#include "season/DataErrors.h"
#include "season/Elo.h"
#include "season/MessageText.h"
#include "season/ResultsFile.h"
#include "season/SeasonFit.h"
#include "season/TeamTotalsFile.h"
#include "teamdata/RatingsFile.h"
#include "teamdata/SeasonRatings.h"

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <system_error>
#include <utility>

namespace zelkor {

namespace fs = std::filesystem;

namespace {

// Shares of the progress bar: reading and choosing, the fit, the writing.
constexpr double ReadShare = 0.1;
constexpr double FitShare = 0.85;

// Each club's shootout record from its totals, in code order; none without them, which
// makes every shootout even.
std::vector<ShootoutRecord> shootoutRecords(const std::map<std::string, TeamTotals>& teams) {
    std::vector<ShootoutRecord> list;
    for (const auto& [code, team] : teams) {
        if (team.shootoutWins || team.shootoutLosses) {
            list.push_back({code, team.shootoutWins.value_or(0), team.shootoutLosses.value_or(0)});
        }
    }
    return list;
}

std::string listed(const std::set<std::string>& codes) {
    std::string text;
    for (const std::string& code : codes) {
        text += (text.empty() ? "" : ", ") + shownText(code);
    }
    return text;
}

// Everything a build writes, read and checked.
struct PreparedBuild {
    std::vector<ImportedRoster> rosters;
    std::vector<std::string> unknownTeams;
    std::vector<ResultRow> games;
    std::vector<ShootoutRecord> shootouts;
    FitOptions fit;
    std::string eloText;
};

// A folder of its own under the system's temporary one, removed with what it holds.
class StagingFolder {
public:
    StagingFolder()
        : path_(fs::temp_directory_path() /
                ("zelkor-season-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(path_);
    }
    ~StagingFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Steps 1 to 3: the rosters of every team, the games, and the targets, every problem
// gathered so that one message lists them all.
PreparedBuild prepare(const SeasonBuildRequest& request) {
    std::vector<std::string> problems;
    const auto attempt = [&problems](auto&& step) {
        try {
            step();
        } catch (const ZelkorError& error) {
            problems.push_back(error.what());
        }
    };
    if (!request.before.empty() && !isDate(request.before)) {
        throw SeasonBuildError("The date '" + shownText(request.before) +
                               "' is not a date of the form YYYY-MM-DD, like 2001-01-15.");
    }

    PreparedBuild build;
    std::set<std::string> teams;
    attempt([&] {
        const SkaterStatistics skaters = readSeasonSkaters(request);
        build.unknownTeams = skaters.unknownTeams;
        for (const Skater& skater : skaters.skaters) {
            teams.insert(skater.team);
        }
        if (teams.empty()) {
            throw InputDataError("The file '" + shownPath(request.skaters) +
                                 "' lists no skater of a team with a league code.");
        }
        for (const std::string& team : teams) {
            attempt([&] { build.rosters.push_back(chooseRoster(team, skaters.skaters)); });
        }
    });
    attempt([&] {
        build.games = readSeasonGames(request);
        if (build.games.empty()) {
            throw InputDataError("The file '" + shownPath(request.results) + "' lists no game" +
                                 (request.before.empty() ? "" : " before " + request.before) +
                                 " to fit the ratings to.");
        }
        if (teams.empty()) {
            return; // the skaters' problem is said already
        }
        std::set<std::string> missing;
        for (const ResultRow& game : build.games) {
            for (const std::string* team : {&game.visitor, &game.home}) {
                if (!teams.contains(*team)) {
                    missing.insert(*team);
                }
            }
        }
        if (!missing.empty()) {
            throw InputDataError("The results name teams that the skater statistics do not "
                                 "list, so that they have no roster: " +
                                 listed(missing) + ".");
        }
    });
    attempt([&] {
        std::vector<ResultRow> lastSeason;
        if (request.priorResults) {
            lastSeason = readResults(readCsvFile(*request.priorResults),
                                     "The file '" + shownPath(*request.priorResults) + "'",
                                     TeamCodeMap({}, TeamCodeKind::League), 0)
                             .games;
        }
        build.eloText = eloFileText(seasonEndElo(lastSeason, build.games, EloParameters{}));
    });
    attempt([&] {
        const std::map<std::string, TeamTotals> teams = readSeasonTeams(request);
        build.fit = seasonFitOptions(request, build.games, teams);
        build.shootouts = shootoutRecords(teams);
    });
    std::error_code unknown;
    if (fs::exists(request.folder, unknown) && !fs::is_directory(request.folder, unknown)) {
        problems.push_back("The season folder '" + shownPath(request.folder) +
                           "' is not a folder.");
    }
    for (const ImportedRoster& roster : build.rosters) {
        if (const auto problem =
                rosterTargetProblem(request.folder, roster.code, request.replace)) {
            problems.push_back(*problem);
        }
    }
    std::vector<std::string> files{RatingsFileName, EloFileName};
    if (build.fit.shootout) {
        files.push_back(ShootoutsFileName);
    }
    for (const std::string& file : files) {
        if (const auto problem = rosterTargetProblem(request.folder, file, request.replace)) {
            problems.push_back(*problem);
        }
    }
    if (!problems.empty()) {
        std::string message;
        for (const std::string& problem : problems) {
            message += problem + "\n";
        }
        throw SeasonBuildError(message + "Nothing was written.");
    }
    return build;
}

} // namespace

std::optional<SeasonBuildReport> buildSeason(const SeasonBuildRequest& request,
                                             std::stop_token stop,
                                             const SeasonBuildProgress& progress) {
    const auto report = [&progress](std::string stage, double done) {
        if (progress) {
            progress({std::move(stage), done});
        }
    };
    report("Reading the files", 0);
    PreparedBuild build = prepare(request);
    if (stop.stop_requested()) {
        return std::nullopt;
    }

    // Step 4: the fit, the longest part, on the rosters as they will be written.
    report("Fitting the ratings", ReadShare);
    const StagingFolder staging;
    std::vector<std::string> codes;
    for (const ImportedRoster& roster : build.rosters) {
        writeRosterFile(staging.path(), roster.code, rosterFileText(rosterLines(roster)), false);
        codes.push_back(roster.code);
    }
    std::optional<RatingsFit> fit =
        fitSeason(request, build.games, codes, staging.path(), build.fit, stop,
                  [&](double done) { report("Fitting the ratings", ReadShare + FitShare * done); });
    if (!fit || stop.stop_requested()) {
        return std::nullopt;
    }
    const std::string ratingsText = ratingsFileText(fit->table);
    // What is written must read back as the table fitted.
    parseRatings(ratingsText, "The fitted ratings");

    // Step 5: the files, each in place whole or not at all; a stop is no longer taken.
    report("Writing the season folder", ReadShare + FitShare);
    SeasonBuildReport done{
        std::move(build.rosters), std::move(build.unknownTeams), std::move(fit->check), {}};
    // Checked again under the lock: another run may have written into the folder meanwhile.
    const FolderWriteLock lock(request.folder);
    std::string taken;
    for (const ImportedRoster& roster : done.rosters) {
        if (const auto problem =
                rosterTargetProblem(request.folder, roster.code, request.replace)) {
            taken += *problem + "\n";
        }
    }
    std::vector<std::string> files{RatingsFileName, EloFileName};
    if (build.fit.shootout) {
        files.push_back(ShootoutsFileName);
    }
    for (const std::string& file : files) {
        if (const auto problem = rosterTargetProblem(request.folder, file, request.replace)) {
            taken += *problem + "\n";
        }
    }
    if (!taken.empty()) {
        throw SeasonBuildError(taken + "Nothing was written.");
    }
    try {
        for (const ImportedRoster& roster : done.rosters) {
            done.written.push_back(writeRosterFile(
                request.folder, roster.code, rosterFileText(rosterLines(roster)), request.replace));
        }
        done.written.push_back(
            writeFolderFile(request.folder, RatingsFileName, ratingsText, request.replace));
        done.written.push_back(
            writeFolderFile(request.folder, EloFileName, build.eloText, request.replace));
        // Seasons with shootouts: the file that turns them on, with the clubs' records.
        if (build.fit.shootout) {
            done.written.push_back(writeFolderFile(request.folder, ShootoutsFileName,
                                                   shootoutsFileText(build.shootouts),
                                                   request.replace));
        }
    } catch (const RosterWriteError& error) {
        std::string message;
        for (const RosterWrite& earlier : done.written) {
            message += "Wrote " + shownPath(earlier.file) + "\n";
        }
        throw RosterWriteError(message + error.what() +
                               (done.written.empty() ? "\nNothing was written."
                                                     : "\nThe other files were not written."));
    }
    report("Done", 1);
    return done;
}

} // namespace zelkor
