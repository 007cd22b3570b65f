#include "teamdata/RatingTable.h"

#include <algorithm>

namespace zelkor {

namespace {

std::vector<RatedTeam> ratedTeams(std::span<const TeamRatingRow> rows) {
    std::vector<RatedTeam> teams;
    teams.reserve(rows.size());
    for (const TeamRatingRow& row : rows) {
        teams.push_back({std::string(row.code), row.rating});
    }
    return teams;
}

const TeamRating* find(const std::vector<RatedTeam>& rows, std::string_view code) {
    const auto found = std::find_if(rows.begin(), rows.end(),
                                    [code](const RatedTeam& row) { return row.code == code; });
    return found == rows.end() ? nullptr : &found->rating;
}

void copyInto(const TeamRating& rating, Single& offence, Single& penalty, Single& powerPlay,
              Single& shortHanded, Single& defence) {
    offence = rating.offence;
    penalty = rating.penalty;
    powerPlay = rating.powerPlay;
    shortHanded = rating.shortHanded;
    defence = rating.defence;
}

} // namespace

std::shared_ptr<const RatingTable> RatingTable::builtin() {
    static const auto table = std::make_shared<const RatingTable>(ratedTeams(roadRatingTable()),
                                                                  ratedTeams(homeRatingTable()));
    return table;
}

const TeamRating* RatingTable::roadRating(std::string_view code) const {
    return find(road_, code);
}

const TeamRating* RatingTable::homeRating(std::string_view code) const {
    return find(home_, code);
}

void LoadTeamRatings(PredictionState& state, const RatingTable& table) {
    if (const TeamRating* road = table.roadRating(state.VISITOR)) {
        copyInto(*road, state.OFFR, state.PENR, state.PPR, state.SHR, state.DEFR);
    }
    if (const TeamRating* home = table.homeRating(state.HOME)) {
        copyInto(*home, state.OFFH, state.PENH, state.PPH, state.SHH, state.DEFH);
    }
}

} // namespace zelkor
