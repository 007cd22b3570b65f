// Feeds arbitrary bytes to the outlook's readers: a schedule (a results file split on a day,
// then checked) or a divisions file and its playoff format. The first byte chooses: bit 0
// the league's codes, bit 1 a day to split on, bit 2 the alignment files (the divisions
// text, a 0x1e byte and the format text) instead of a schedule. A reader may only return
// what it read or raise the library's own errors.

#include "FuzzSupport.h"
#include "core/Errors.h"
#include "season/CsvFile.h"
#include "season/LeagueAlignment.h"
#include "season/PlayoffPlaces.h"
#include "season/Schedule.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace {

using zelkor::fuzzing::finding;

constexpr const char* SplitDay = "2001-01-01";

void fuzzSchedule(std::string_view text, bool league, bool split) {
    const zelkor::TeamCodeMap codes({}, league ? zelkor::TeamCodeKind::League
                                               : zelkor::TeamCodeKind::Program);
    const zelkor::ResultsFile file =
        zelkor::readResults(zelkor::parseCsv(text, "F"), "F", codes, 2.8f);
    const std::string asOf = split ? SplitDay : "";
    const zelkor::Schedule schedule = zelkor::scheduleOf(file, asOf);
    // A listing the season has passed without a score is a postponed game, counted apart.
    if (schedule.played.size() + schedule.toPlay.size() + schedule.postponedSkipped !=
        file.games.size() + file.unplayed.size()) {
        finding("the schedule lost or added games");
    }
    if (!std::is_sorted(schedule.toPlay.begin(), schedule.toPlay.end(),
                        [](const auto& a, const auto& b) { return a.date < b.date; })) {
        finding("the games to play are not in date order");
    }
    for (const zelkor::ResultRow& game : schedule.played) {
        if (split && game.date >= asOf) {
            finding("a game on or after the day counts as played");
        }
    }
    for (const std::string& problem : zelkor::scheduleProblems(schedule, "F")) {
        if (problem.empty()) {
            finding("an empty problem");
        }
    }
}

void fuzzAlignment(std::string_view text) {
    const std::size_t cut = text.find('\x1e');
    const zelkor::LeagueAlignment alignment = zelkor::parseAlignment(
        text.substr(0, cut), cut == std::string_view::npos ? "" : text.substr(cut + 1), "D", "P");
    std::set<std::string> codes;
    for (const zelkor::ClubAlignment& club : alignment.clubs) {
        if (club.code.empty() || club.conference.empty() || club.division.empty() ||
            !codes.insert(club.code).second) {
            finding("an alignment with an empty field or a club twice was read");
        }
    }
    if (!zelkor::formatProblems(alignment).empty()) {
        finding("an alignment too small for its format was read");
    }
    const zelkor::LeagueTable table(alignment);
    if (table.codes().size() != alignment.clubs.size()) {
        finding("the league table lost clubs");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        if ((choice & 4U) != 0) {
            fuzzAlignment(text);
        } else {
            fuzzSchedule(text, (choice & 1U) != 0, (choice & 2U) != 0);
        }
    } catch (const zelkor::ZelkorError&) {
        // a refusal with the library's own message is what a reader may do
    }
    return 0;
}
