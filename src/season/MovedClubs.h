#pragma once

#include "season/Elo.h"
#include "season/ResultsFile.h"
#include "teamdata/RatingTable.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace zelkor {

// What a club that moved took from the club it was before.
struct MovedClubNote {
    std::string club;        ///< its code in the results
    std::string predecessor; ///< the code it took over from
    int season = 0;          ///< the first season under its new code
    bool roster = false;     ///< it played with the predecessor's roster file, under its code
    bool ratings = false;    ///< it started from the predecessor's prior ratings
    bool elo = false;        ///< it started from the predecessor's carried Elo
};

// Each club of the games (league codes) whose roster file the folder lacks while it holds
// a predecessor's (UTA, then ARI, then PHX) plays as that predecessor: its games are
// renamed, so that its roster, prior ratings and Elo are the predecessor's.
std::vector<MovedClubNote> playMovedClubsAsPredecessors(std::vector<ResultRow>& games,
                                                        const std::filesystem::path& rosterFolder);

// The prior with the rows of a predecessor copied under the code of each club of the games
// that the prior lacks; notes tells which.
std::shared_ptr<const RatingTable> priorWithMovedClubs(const RatingTable& prior,
                                                       const std::vector<ResultRow>& games,
                                                       std::vector<MovedClubNote>& notes);

// The same for a carried Elo.
void eloWithMovedClubs(EloRatings& ratings, const std::vector<ResultRow>& games,
                       std::vector<MovedClubNote>& notes);

} // namespace zelkor
