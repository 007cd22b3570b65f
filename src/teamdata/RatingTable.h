#pragma once

#include "core/PredictionState.h"
#include "teamdata/TeamRatings.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// A team's ratings for one venue, under its code.
struct RatedTeam {
    std::string code;
    TeamRating rating;
};

// A table of team ratings, a road half and a home half, each looked up in row order: the
// built-in table of the 2000-01 season, or one read from a ratings file. A code with a road
// row can visit, one with a home row can host.
class RatingTable {
public:
    RatingTable(std::vector<RatedTeam> road, std::vector<RatedTeam> home)
        : road_(std::move(road)), home_(std::move(home)) {}

    // The built-in table, shared.
    static std::shared_ptr<const RatingTable> builtin();

    const std::vector<RatedTeam>& road() const { return road_; }
    const std::vector<RatedTeam>& home() const { return home_; }

    // The first row of the half whose code equals code exactly; nullptr when none does.
    const TeamRating* roadRating(std::string_view code) const;
    const TeamRating* homeRating(std::string_view code) const;

    bool canVisit(std::string_view code) const { return roadRating(code) != nullptr; }
    bool canHost(std::string_view code) const { return homeRating(code) != nullptr; }

private:
    std::vector<RatedTeam> road_;
    std::vector<RatedTeam> home_;
};

// LoadTeamRatings on the given table: the visitor's road row into OFFR..DEFR, the home
// team's home row into OFFH..DEFH; a side whose code the table lacks keeps its ratings.
void LoadTeamRatings(PredictionState& state, const RatingTable& table);

} // namespace zelkor
