#include "season/PlayoffPlaces.h"

#include "season/MessageText.h"

#include <algorithm>
#include <numeric>

namespace zelkor {

namespace {

// The index of name in names, added at the end when it is new.
std::size_t indexOf(std::vector<std::string>& names, const std::string& name) {
    const auto found = std::find(names.begin(), names.end(), name);
    if (found != names.end()) {
        return static_cast<std::size_t>(found - names.begin());
    }
    names.push_back(name);
    return names.size() - 1;
}

std::size_t divisionPlaces(PlayoffFormat format) {
    switch (format) {
    case PlayoffFormat::WildCard:
        return WildCardDivisionPlaces;
    case PlayoffFormat::DivisionTopFour:
        return DivisionTopPlaces;
    case PlayoffFormat::ConferenceTopEight:
        return 1; // the winner, seeded first
    }
    return 0;
}

// Places a conference gives beyond its divisions' own.
std::size_t conferencePlaces(PlayoffFormat format, std::size_t divisions) {
    switch (format) {
    case PlayoffFormat::WildCard:
        return WildCardDivisionPlaces * divisions + WildCardsPerConference;
    case PlayoffFormat::DivisionTopFour:
        return 0;
    case PlayoffFormat::ConferenceTopEight:
        return std::max(ConferenceTopPlaces, divisions);
    }
    return 0;
}

} // namespace

LeagueTable::LeagueTable(const LeagueAlignment& alignment) : format_(alignment.format) {
    std::vector<std::string> conferenceNames;
    std::vector<std::string> divisionNames;
    for (std::size_t club = 0; club < alignment.clubs.size(); ++club) {
        const ClubAlignment& place = alignment.clubs[club];
        codes_.push_back(place.code);
        const std::size_t conference = indexOf(conferenceNames, place.conference);
        const std::size_t division = indexOf(divisionNames, place.division);
        conferences_.resize(conferenceNames.size());
        divisions_.resize(divisionNames.size());
        divisionsOf_.resize(conferenceNames.size());
        conferences_[conference].push_back(club);
        divisions_[division].push_back(club);
        auto& own = divisionsOf_[conference];
        if (std::find(own.begin(), own.end(), division) == own.end()) {
            own.push_back(division);
        }
    }
}

FinalPlaces finalPlaces(const Standings& standings, const LeagueTable& table) {
    const std::size_t clubs = standings.size();
    FinalPlaces places;
    places.playoffs.assign(clubs, false);
    places.divisionTitle.assign(clubs, false);
    places.conferencePlace.assign(clubs, 0);
    const std::size_t ownPlaces = divisionPlaces(table.format());

    std::vector<std::size_t> order;
    for (const std::vector<std::size_t>& division : table.divisions()) {
        order = division;
        standings.rank(order);
        places.divisionTitle[order.front()] = true;
        for (std::size_t k = 0; k < order.size() && k < ownPlaces; ++k) {
            places.playoffs[order[k]] = true;
        }
    }
    for (std::size_t conference = 0; conference < table.conferences().size(); ++conference) {
        order = table.conferences()[conference];
        standings.rank(order);
        // The places the divisions leave go to the best of the rest, in order.
        std::size_t open = conferencePlaces(table.format(), table.divisionsOf()[conference].size());
        for (const std::size_t club : order) {
            open -= places.playoffs[club] && open > 0 ? 1 : 0;
        }
        for (std::size_t k = 0; k < order.size(); ++k) {
            places.conferencePlace[order[k]] = static_cast<int>(k + 1);
            if (!places.playoffs[order[k]] && open > 0) {
                places.playoffs[order[k]] = true;
                --open;
            }
        }
    }
    order.resize(clubs);
    std::iota(order.begin(), order.end(), std::size_t{0});
    standings.rank(order);
    places.mostPoints = order.front();
    places.fewestPoints = order.back();
    return places;
}

std::vector<std::string> formatProblems(const LeagueAlignment& alignment) {
    const LeagueTable table(alignment);
    std::vector<std::string> names(table.divisions().size());
    std::vector<std::string> conferenceNames(table.conferences().size());
    for (std::size_t d = 0; d < names.size(); ++d) {
        names[d] = alignment.clubs[table.divisions()[d].front()].division;
    }
    for (std::size_t c = 0; c < conferenceNames.size(); ++c) {
        conferenceNames[c] = alignment.clubs[table.conferences()[c].front()].conference;
    }
    std::vector<std::string> problems;
    const std::string format(playoffFormatName(alignment.format));
    const auto tooSmall = [&](const char* what, const std::string& name, std::size_t clubs,
                              std::size_t places) {
        if (clubs < places) {
            problems.push_back("the " + std::string(what) + " " + shownText(name) + " has " +
                               std::to_string(clubs) + (clubs == 1 ? " club" : " clubs") +
                               ", fewer than the " + std::to_string(places) +
                               " playoff places the format " + format + " gives it.");
        }
    };
    for (std::size_t d = 0; d < names.size(); ++d) {
        tooSmall("division", names[d], table.divisions()[d].size(),
                 divisionPlaces(alignment.format));
    }
    for (std::size_t c = 0; c < conferenceNames.size(); ++c) {
        tooSmall("conference", conferenceNames[c], table.conferences()[c].size(),
                 conferencePlaces(alignment.format, table.divisionsOf()[c].size()));
    }
    return problems;
}

} // namespace zelkor
