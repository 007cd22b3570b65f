#pragma once

#include "season/LeagueAlignment.h"
#include "season/Standings.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zelkor {

// Places of the formats: the wild-card format's places in each division and wild cards in
// each conference, the top of each division of the four-division format, and the top of
// each conference of the eight-a-conference format.
inline constexpr std::size_t WildCardDivisionPlaces = 3;
inline constexpr std::size_t WildCardsPerConference = 2;
inline constexpr std::size_t DivisionTopPlaces = 4;
inline constexpr std::size_t ConferenceTopPlaces = 8;

// An alignment as indexes into a Standings: which clubs form each conference and division.
class LeagueTable {
public:
    // The codes of clubs are the standings' codes, in this order.
    explicit LeagueTable(const LeagueAlignment& alignment);

    const std::vector<std::string>& codes() const { return codes_; }
    PlayoffFormat format() const { return format_; }
    const std::vector<std::vector<std::size_t>>& conferences() const { return conferences_; }
    const std::vector<std::vector<std::size_t>>& divisions() const { return divisions_; }
    // The divisions (indexes into divisions()) of each conference.
    const std::vector<std::vector<std::size_t>>& divisionsOf() const { return divisionsOf_; }

private:
    std::vector<std::string> codes_;
    PlayoffFormat format_;
    std::vector<std::vector<std::size_t>> conferences_;
    std::vector<std::vector<std::size_t>> divisions_;
    std::vector<std::vector<std::size_t>> divisionsOf_;
};

// Where each club (by index) finishes.
struct FinalPlaces {
    std::vector<bool> playoffs;
    std::vector<bool> divisionTitle;
    std::vector<int> conferencePlace; ///< 1 = first, by the standings order
    std::size_t mostPoints = 0;       ///< the first club of the league
    std::size_t fewestPoints = 0;     ///< the last club of the league
};

// The places of the standings under the table's format.
FinalPlaces finalPlaces(const Standings& standings, const LeagueTable& table);

// Why an alignment cannot hold its format's playoffs: a division or conference with fewer
// clubs than the places it gives. Empty when it can.
std::vector<std::string> formatProblems(const LeagueAlignment& alignment);

} // namespace zelkor
