#include "season/SeasonBuild.h"

#include "season/CsvFile.h"
#include "season/DataErrors.h"
#include "season/Elo.h"
#include "season/FitGames.h"
#include "season/LeagueAlignment.h"
#include "season/MessageText.h"
#include "season/ResultsFile.h"
#include "season/SeasonFit.h"
#include "season/TeamTotalsFile.h"
#include "teamdata/RatingsFile.h"
#include "teamdata/RosterCheckHint.h"
#include "teamdata/SeasonRatings.h"
#include "teamdata/StagedFolder.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string_view>
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

// Everything a build writes, read and checked.
struct PreparedBuild {
    std::vector<ImportedRoster> rosters;
    std::vector<std::string> unknownTeams;
    std::vector<ResultRow> games;
    std::vector<ShootoutRecord> shootouts;
    FitOptions fit;
    std::string eloText;
};

// The rosters, ratings.csv and shootouts.csv of the build, checked against what the folder
// holds: every target a problem.
std::vector<std::string> targetProblems(const SeasonBuildRequest& request,
                                        const PreparedBuild& build) {
    std::vector<std::string> problems;
    std::vector<std::string> files;
    for (const ImportedRoster& roster : build.rosters) {
        files.push_back(roster.code);
    }
    files.push_back(RatingsFileName);
    files.push_back(EloFileName);
    if (build.fit.shootout) {
        files.push_back(ShootoutsFileName);
    }
    for (const auto& alignment : alignmentFiles(build.games)) {
        files.push_back(alignment.first);
    }
    for (const std::string& file : files) {
        if (const auto problem = rosterTargetProblem(request.folder, file, request.replace)) {
            problems.push_back(*problem);
        }
    }
    return problems;
}

// A message of the fit as the user can act on it: the staging folder, removed by then,
// named as the season folder, and no hint to check rosters that are not written.
std::string withoutStaging(std::string message, const StagedFolder& staged,
                           const fs::path& folder) {
    const std::string hint = rosterCheckHint(staged.staging());
    if (const std::size_t at = message.find(hint); at != std::string::npos) {
        message.erase(at, hint.size());
    }
    const std::string staging = staged.staging().string();
    for (std::size_t at = message.find(staging); at != std::string::npos;
         at = message.find(staging, at)) {
        message.replace(at, staging.size(), folder.string());
        at += folder.string().size();
    }
    while (!message.empty() && std::isspace(static_cast<unsigned char>(message.back()))) {
        message.pop_back();
    }
    return message;
}

// The closing words of a message after which the folder is as it was.
std::string untouchedNote(std::string_view message) {
    return message.find("Nothing was written") == std::string_view::npos ? "\nNothing was written."
                                                                         : "";
}

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
    if (const auto problem =
            request.before.empty() ? std::nullopt : beforeDateProblem(request.before)) {
        throw SeasonBuildError(*problem);
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
            throw InputDataError(fileLabel(SkatersFileKind, request.skaters) +
                                 " lists no skater of a team with a league code.");
        }
        for (const std::string& team : teams) {
            attempt([&] { build.rosters.push_back(chooseRoster(team, skaters.skaters)); });
        }
    });
    attempt([&] {
        build.games = readSeasonGames(request);
        if (build.games.empty()) {
            throw InputDataError(fileLabel(ResultsFileKind, request.results) + " lists no game" +
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
                                 shownList(missing) + ".");
        }
    });
    attempt([&] {
        std::vector<ResultRow> lastSeason;
        if (request.priorResults) {
            lastSeason =
                readResultsFile(*request.priorResults, TeamCodeMap({}, TeamCodeKind::League), 0)
                    .games;
        }
        build.eloText = eloFileText(seasonEndElo(lastSeason, build.games, EloParameters{}));
    });
    attempt([&] {
        const std::map<std::string, TeamTotals> teams = readSeasonTeams(request);
        build.fit = seasonFitOptions(request, build.games, teams);
        build.shootouts = shootoutRecords(teams);
        // A club the totals leave out would get the default figures without a word, as
        // the clubs after the cut of a file cut short would.
        std::set<std::string> missing;
        for (const ResultRow& game : build.games) {
            for (const std::string* team : {&game.visitor, &game.home}) {
                if (request.teamStats && !teams.contains(*team)) {
                    missing.insert(*team);
                }
            }
        }
        if (!missing.empty()) {
            throw InputDataError(
                fileLabel(TeamStatsFileKind, *request.teamStats) +
                " lists no totals for teams of the results: " + shownList(missing) + ".");
        }
    });
    std::error_code unknown;
    if (fs::exists(request.folder, unknown) && !fs::is_directory(request.folder, unknown)) {
        problems.push_back("The season folder '" + shownPath(request.folder) +
                           "' is not a folder.");
    }
    const std::vector<std::string> taken = targetProblems(request, build);
    problems.insert(problems.end(), taken.begin(), taken.end());
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

    // Step 4: the folder locked, and shown writable, for the whole build; checked again
    // under the lock, since another run may have written into it meanwhile.
    StagedFolder staged(request.folder);
    if (const std::vector<std::string> taken = targetProblems(request, build); !taken.empty()) {
        std::string message;
        for (const std::string& problem : taken) {
            message += problem + "\n";
        }
        throw SeasonBuildError(message + "Nothing was written.");
    }

    // Every failure from here on leaves the folder as it was, which the message says; the
    // staging folder it may name is removed by then.
    const auto untouched = [&](auto&& step) {
        try {
            return step();
        } catch (const RosterWriteError& error) {
            throw RosterWriteError(withoutStaging(error.what(), staged, request.folder) +
                                   untouchedNote(error.what()));
        } catch (const SeasonBuildError&) {
            throw;
        } catch (const ZelkorError& error) {
            throw SeasonBuildError(withoutStaging(error.what(), staged, request.folder) +
                                   untouchedNote(error.what()));
        }
    };

    // Step 5: the fit, the longest part, on the rosters as they will be written.
    report("Fitting the ratings", ReadShare);
    SeasonBuildReport done{std::move(build.rosters), std::move(build.unknownTeams), {}, {}};
    std::vector<std::string> codes;
    for (const ImportedRoster& roster : done.rosters) {
        done.written.push_back(untouched(
            [&] { return staged.addRoster(roster.code, rosterFileText(rosterLines(roster))); }));
        codes.push_back(roster.code);
    }
    std::optional<RatingsFit> fit = untouched([&] {
        return fitSeason(
            request, build.games, codes, staged.staging(), build.fit, stop,
            [&](double done) { report("Fitting the ratings", ReadShare + FitShare * done); });
    });
    if (!fit || stop.stop_requested()) {
        return std::nullopt;
    }
    done.check = std::move(fit->check);

    // Step 6: ratings.csv and, for seasons with shootouts, the file that turns them on with
    // the clubs' records, each read back as a prediction reads it; then the new season
    // replaces the old in one step. A stop is no longer taken.
    report("Writing the season folder", ReadShare + FitShare);
    untouched([&] {
        const std::string ratingsText = ratingsFileText(fit->table);
        parseRatings(ratingsText, "The fitted ratings");
        done.written.push_back(staged.addFile(RatingsFileName, ratingsText));
        done.written.push_back(staged.addFile(EloFileName, build.eloText));
        if (build.fit.shootout) {
            done.written.push_back(
                staged.addFile(ShootoutsFileName, shootoutsFileText(build.shootouts)));
            readShootoutsFile(staged.staging() / ShootoutsFileName);
        }
        // The league's conferences and divisions of the season, for the outlook.
        for (const auto& [name, text] : alignmentFiles(build.games)) {
            done.written.push_back(staged.addFile(name, text));
        }
        staged.commit();
    });
    report("Done", 1);
    return done;
}

} // namespace zelkor
