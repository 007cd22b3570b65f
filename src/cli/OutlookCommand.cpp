#include "cli/OutlookCommand.h"

#include "cli/CommonOptions.h"
#include "cli/ExitStatus.h"
#include "cli/InterruptWatch.h"
#include "cli/JsonText.h"
#include "cli/ProgressBar.h"
#include "cli/ReportOutput.h"
#include "core/DisplayText.h"
#include "odds/ManySeries.h"
#include "season/MessageText.h"
#include "season/SeasonOutlook.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iomanip>
#include <ostream>
#include <random>
#include <sstream>

namespace zelkor {

namespace {

// Players the text lists in the goal race; the JSON lists them all.
constexpr std::size_t GoalRaceShown = 20;

struct OutlookOptions {
    std::string folder;
    std::string schedule;
    std::string asOf;
    std::uint64_t seasons = DefaultOutlookSeasons;
    std::optional<std::uint64_t> seed;
    unsigned threads = 0;
    std::optional<TeamCodeKind> codes;
    bool json = false;
};

std::string percent(double share) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << share * 100 << " %";
    return text.str();
}

std::string fixed(double value, int decimals) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << value;
    return text.str();
}

void writeClubs(const SeasonOutlook& outlook, std::ostream& out) {
    std::string division;
    for (const ClubOutlook& club : outlook.clubs) {
        if (club.division != division) {
            division = club.division;
            out << '\n'
                << visibleText(club.conference) << " / " << visibleText(club.division) << '\n'
                << std::left << std::setw(6) << "Club" << std::right << std::setw(4) << "GP"
                << std::setw(4) << "W" << std::setw(4) << "L" << std::setw(5) << "OTL"
                << std::setw(4) << "T" << std::setw(5) << "Pts" << std::setw(6) << "Left"
                << std::setw(8) << "Final" << std::setw(10) << "5-95 %" << std::setw(10)
                << "Playoffs" << std::setw(10) << "Division" << std::setw(9) << "Most"
                << std::setw(9) << "Fewest" << '\n';
        }
        const ClubRecord& so = club.soFar;
        out << std::left << std::setw(6) << visibleText(club.code) << std::right << std::setw(4)
            << so.games << std::setw(4) << so.wins << std::setw(4) << so.losses << std::setw(5)
            << so.overtimeLosses << std::setw(4) << so.ties << std::setw(5) << so.points()
            << std::setw(6) << club.gamesLeft << std::setw(8) << fixed(club.meanPoints, 1)
            << std::setw(10) << (std::to_string(club.points5) + "-" + std::to_string(club.points95))
            << std::setw(10) << percent(club.playoffs) << std::setw(10)
            << percent(club.divisionTitle) << std::setw(9) << percent(club.mostPoints)
            << std::setw(9) << percent(club.fewestPoints) << '\n';
    }
}

void writePlaces(const SeasonOutlook& outlook, std::ostream& out) {
    std::string conference;
    for (const ClubOutlook& club : outlook.clubs) {
        if (club.conference != conference) {
            conference = club.conference;
            out << "\nFinal place in the " << visibleText(conference) << " conference, %\n"
                << std::left << std::setw(6) << "Club" << std::right;
            for (std::size_t place = 1; place <= club.conferencePlace.size(); ++place) {
                out << std::setw(5) << place;
            }
            out << '\n';
        }
        out << std::left << std::setw(6) << visibleText(club.code) << std::right;
        for (const double chance : club.conferencePlace) {
            out << std::setw(5) << std::lround(chance * 100);
        }
        out << '\n';
    }
}

void writeGoalRace(const SeasonOutlook& outlook, std::ostream& out) {
    out << "\nThe goal race (the " << std::min(GoalRaceShown, outlook.players.size())
        << " with the most goals projected)\n"
        << std::left << std::setw(28) << "Player" << std::setw(6) << "Club" << std::right
        << std::setw(7) << "Goals" << std::setw(8) << "Final" << std::setw(10) << "Leader" << '\n';
    for (std::size_t k = 0; k < outlook.players.size() && k < GoalRaceShown; ++k) {
        const PlayerOutlook& player = outlook.players[k];
        out << std::left << std::setw(28) << visibleText(player.name) << std::setw(6)
            << visibleText(player.club) << std::right << std::setw(7) << player.goals
            << std::setw(8) << fixed(player.projectedGoals, 1) << std::setw(10)
            << percent(player.goalLeader) << '\n';
    }
}

nlohmann::ordered_json clubJson(const ClubOutlook& club) {
    const ClubRecord& so = club.soFar;
    return {{"code", club.code},
            {"conference", club.conference},
            {"division", club.division},
            {"games", so.games},
            {"wins", so.wins},
            {"losses", so.losses},
            {"overtime_losses", so.overtimeLosses},
            {"ties", so.ties},
            {"points", so.points()},
            {"games_left", club.gamesLeft},
            {"projected_points",
             {{"mean", club.meanPoints}, {"p5", club.points5}, {"p95", club.points95}}},
            {"playoffs", club.playoffs},
            {"division_title", club.divisionTitle},
            {"most_points", club.mostPoints},
            {"fewest_points", club.fewestPoints},
            {"conference_place", club.conferencePlace}};
}

int runOutlook(const OutlookOptions& options, std::ostream& out, std::ostream& err) {
    OutlookSource source;
    source.folder = options.folder;
    source.schedule = options.schedule;
    source.asOf = options.asOf;
    if (options.codes) {
        source.codes = *options.codes;
    }
    SourcedOutlook sourced = readOutlookSource(source);
    OutlookRequest& request = sourced.request;
    request.seasons = options.seasons;
    request.threads = options.threads;
    request.baseSeed = options.seed ? *options.seed
                                    : (static_cast<std::uint64_t>(std::random_device{}()) << 32) ^
                                          std::random_device{}();

    std::stop_source stop;
    const InterruptWatch watch;
    std::optional<SeasonOutlook> outlook;
    {
        ProgressBar bar(err, standardErrorIsTerminal()); // wiped before any message
        outlook =
            playOutlook(request, stop.get_token(), [&](std::uint64_t done, std::uint64_t total) {
                if (watch.interrupted()) {
                    stop.request_stop();
                }
                bar.count(done, total, "seasons");
            });
    }
    if (!outlook) {
        err << "Stopped before the end (base seed " << request.baseSeed << ")." << std::endl;
        return ExitInterrupted;
    }

    const std::string asOf = options.asOf.empty() ? std::string("today's results") : options.asOf;
    if (options.json) {
        nlohmann::ordered_json report{
            {"seasons", outlook->seasons},
            {"seed", outlook->seed},
            {"folder", shownPath(options.folder)},
            {"ratings", sourced.ratings},
            {"alignment", sourced.alignment},
            {"format", std::string(playoffFormatName(outlook->format))},
            {"schedule", shownPath(options.schedule)},
            {"as_of", options.asOf.empty() ? nlohmann::ordered_json()
                                           : nlohmann::ordered_json(options.asOf)},
            {"games_played", outlook->gamesPlayed},
            {"games_left", outlook->gamesLeft},
            {"postponed_skipped", request.schedule.postponedSkipped},
            {"clubs", nlohmann::ordered_json::array()},
            {"players", nlohmann::ordered_json::array()},
        };
        for (const ClubOutlook& club : outlook->clubs) {
            report["clubs"].push_back(clubJson(club));
        }
        for (const PlayerOutlook& player : outlook->players) {
            report["players"].push_back({{"code", player.club},
                                         {"row", player.row},
                                         {"name", player.name},
                                         {"goals", player.goals},
                                         {"projected_goals", player.projectedGoals},
                                         {"goal_leader", player.goalLeader}});
        }
        out << jsonText(report) << std::flush;
        return reportStatus(out, err);
    }
    std::ostringstream text;
    text << "Season outlook: " << outlook->seasons << " seasons, base seed " << outlook->seed
         << "\nSeason folder: " << shownPath(options.folder) << " (ratings: " << sourced.ratings
         << ")\nSchedule: " << shownPath(options.schedule) << ", as of " << asOf << ": "
         << outlook->gamesPlayed << " games played, " << outlook->gamesLeft << " to play";
    if (request.schedule.postponedSkipped > 0) {
        text << ", " << request.schedule.postponedSkipped << " postponed listings skipped";
    }
    text << "\nAlignment: " << sourced.alignment
         << "; playoffs: " << playoffFormatName(outlook->format) << '\n';
    writeClubs(*outlook, text);
    writePlaces(*outlook, text);
    writeGoalRace(*outlook, text);
    out << text.str() << std::flush;
    return reportStatus(out, err);
}

} // namespace

int runOutlookCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    OutlookOptions options;
    CLI::App app{"Plays the rest of a season many times from a season folder and its schedule: "
                 "each club's final points and chances of the playoffs, its division and each "
                 "place, and each player's goals.",
                 "zelkor-cli season outlook"};
    app.add_option("DIR", options.folder,
                   "The season folder: roster files, ratings.csv, shootouts.csv, and "
                   "divisions.csv with playoffs.txt (else the league's alignment of the season)")
        ->required()
        ->type_name("DIR");
    app.add_option("--schedule", options.schedule,
                   "The season's results file in any layout backtest reads; a game without a "
                   "score is still to play")
        ->required()
        ->type_name("FILE");
    addDateOption(app, "--as-of", options.asOf,
                  "Play every game on or after this day, even one with a score");
    app.add_option("--seasons", options.seasons, "Seasons played (default 10000)")
        ->check(decimalCount())
        ->check(CLI::Range(std::uint64_t{1}, MostOutlookSeasons))
        ->type_name("N");
    addSeedOption(app, options.seed,
                  "Base seed (default: a random one, reported); season i plays with the seed "
                  "--series would give series i");
    app.add_option("--threads", options.threads, "Threads (default: one per core)")
        ->check(decimalCount())
        ->check(CLI::Range(1U, MostThreads))
        ->type_name("T");
    addCodesOption(app, options.codes,
                   "Read the schedule's teams as the program's codes or the league's (default: "
                   "the league's for a folder with ratings.csv)");
    app.add_flag("--json", options.json, "Write one JSON object instead of text");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? ExitSuccess : ExitUsageError;
    }
    try {
        return runOutlook(options, out, err);
    } catch (const std::bad_alloc&) {
        err << "Not enough memory for the outlook." << std::endl;
        return ExitPredictionFailed;
    } catch (const std::exception& error) {
        err << error.what() << std::endl;
        return ExitPredictionFailed;
    }
}

} // namespace zelkor
