#include "season/Schedule.h"

#include "season/CsvFile.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"

#include <algorithm>
#include <map>
#include <utility>

namespace zelkor {

namespace {

// The outlook gives every goalie one average, so the file's averages go unused.
constexpr Single UnusedGaa = 2.75f;

} // namespace

Schedule scheduleOf(const ResultsFile& file, const std::string& asOf) {
    Schedule schedule;
    for (const ResultRow& game : file.games) {
        if (!asOf.empty() && game.date >= asOf) {
            ResultRow toPlay;
            toPlay.line = game.line;
            toPlay.date = game.date;
            toPlay.visitor = game.visitor;
            toPlay.home = game.home;
            schedule.toPlay.push_back(std::move(toPlay));
        } else {
            schedule.played.push_back(game);
        }
    }
    // A listing without a score that the season has passed is a postponed game: its replay
    // has a line of its own, so playing the listing too would count the game twice. This
    // holds on any day asked for: a replay after that day is played from its own line.
    std::string lastScored;
    for (const ResultRow& game : file.games) {
        lastScored = std::max(lastScored, game.date);
    }
    for (const ResultRow& game : file.unplayed) {
        if (isDate(game.date) && game.date < lastScored) {
            ++schedule.postponedSkipped;
        } else {
            schedule.toPlay.push_back(game);
        }
    }
    std::stable_sort(schedule.toPlay.begin(), schedule.toPlay.end(),
                     [](const ResultRow& a, const ResultRow& b) { return a.date < b.date; });
    return schedule;
}

std::vector<std::string> scheduleProblems(const Schedule& schedule, const std::string& label) {
    std::vector<std::pair<int, std::string>> gameProblems; // by line
    // The lines each club plays on, by day and club.
    std::map<std::pair<std::string, std::string>, std::vector<int>> days;
    for (const auto* games : {&schedule.played, &schedule.toPlay}) {
        for (const ResultRow& game : *games) {
            const std::string where = filePlace(label, game.line);
            if (!isDate(game.date)) {
                gameProblems.emplace_back(game.line, filePlace(label, game.line, "date") + "'" +
                                                         shownText(game.date) +
                                                         "' is not a date of the form YYYY-MM-DD.");
                continue;
            }
            if (game.visitor == game.home) {
                gameProblems.emplace_back(game.line,
                                          where + shownText(game.visitor) + " plays itself.");
                continue;
            }
            days[{game.date, game.visitor}].push_back(game.line);
            days[{game.date, game.home}].push_back(game.line);
        }
    }
    std::sort(gameProblems.begin(), gameProblems.end());
    std::vector<std::string> problems;
    for (auto& [line, problem] : gameProblems) {
        problems.push_back(std::move(problem));
    }
    for (auto& [day, lines] : days) {
        if (lines.size() > 1) {
            std::sort(lines.begin(), lines.end());
            std::string text = label + ": " + shownText(day.second) + " plays " +
                               std::to_string(lines.size()) + " games on " + day.first + " (lines";
            for (const int line : lines) {
                text += " " + std::to_string(line);
            }
            problems.push_back(text + ").");
        }
    }
    return problems;
}

Schedule readSchedule(const std::filesystem::path& file, const TeamCodeMap& codes,
                      const std::string& asOf) {
    const std::string label = fileLabel(ScheduleFileKind, file);
    if (!asOf.empty() && !isDate(asOf)) {
        throw InputDataError("The date '" + shownText(asOf) +
                             "' is not a date of the form YYYY-MM-DD, like 2022-01-01.");
    }
    Schedule schedule =
        scheduleOf(readResults(readCsvFile(file, label), label, codes, UnusedGaa), asOf);
    const std::vector<std::string> problems = scheduleProblems(schedule, label);
    if (!problems.empty()) {
        std::string message;
        for (const std::string& problem : problems) {
            message += (message.empty() ? "" : "\n") + problem;
        }
        throw InputDataError(message);
    }
    return schedule;
}

} // namespace zelkor
