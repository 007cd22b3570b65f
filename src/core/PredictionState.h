#pragma once

#include "core/Arithmetic.h"
#include "core/PlayerArray.h"

#include <string>

namespace zelkor {

// Every value of a prediction. The main window owns one for the life of the program;
// each operation overwrites the fields it produces, and some fields carry over from one
// prediction to the next. Suffix x/X: visiting team, y/Y: home team; R: a rating of the
// visiting (road) team, H: of the home team. Creation gives empty texts and zeros.
struct PredictionState {
    // Inputs.
    std::string VISITOR; ///< visiting team code as the user left it
    std::string HOME;    ///< home team code as the user left it
    Single GAAV = 0;     ///< visiting goalie's goals-against average
    Single GAAH = 0;     ///< home goalie's goals-against average

    // Rosters and per-player season statistics.
    RosterTable RosterX; ///< visiting roster: row = player, columns name, games, goals, assists
    RosterTable RosterY; ///< home roster
    PlayerArray GOALX;   ///< goals of each visiting player
    PlayerArray GOALY;   ///< goals of each home player
    PlayerArray Assistx; ///< assists of each visiting player
    PlayerArray Assisty; ///< assists of each home player
    PlayerArray Gamex;   ///< games played by each visiting player
    PlayerArray Gamey;   ///< games played by each home player

    Integer match; ///< game being played, 1 to 11; 12 once the series is over

    // Team totals and goals-per-assist ratios.
    Single GoalSumx = 0;    ///< sum of GOALX
    Single GoalSumy = 0;    ///< sum of GOALY
    Single AssistSumx = 0;  ///< sum of Assistx
    Single AssistSumy = 0;  ///< sum of Assisty
    Single Ratiox = 0;      ///< visiting team's goals per assist
    Single LeagueRatio = 0; ///< league goals per assist, set at the start of every series
    Single Ratioy = 0;      ///< home team's goals per assist

    // Home ratings (the home team's row of the home table).
    Single OFFH = 0; ///< offence: multiplies the home team's own scoring rates
    Single PENH = 0; ///< chance per minute that the home team takes a penalty
    Single PPH = 0;  ///< power play
    Single SHH = 0;  ///< short-handed play
    Single DEFH = 0; ///< defence: multiplies the visiting team's scoring rates

    // Road ratings (the visiting team's row of the road table).
    Single OFFR = 0; ///< offence: multiplies the visiting team's own scoring rates
    Single PENR = 0; ///< chance per minute that the visiting team takes a penalty
    Single PPR = 0;  ///< power play
    Single SHR = 0;  ///< short-handed play
    Single DEFR = 0; ///< defence: multiplies the home team's scoring rates

    Single Rndx = 0; ///< visiting team's draw of the minute, in [1, 100001)
    Single Rndy = 0; ///< home team's draw of the minute

    // Series tallies.
    Integer Winsx;  ///< games won by the visiting team
    Integer Tiesx;  ///< tied games, counted on the visiting side
    Integer Goalsx; ///< visiting goals over the series
    Integer Winsy;  ///< games won by the home team
    Integer Tiesy;  ///< tied games, counted on the home side
    Integer Goalsy; ///< home goals over the series

    Integer PENALFLAG; ///< 1 once a penalty is called in the last two minutes of a period
    Integer Minute;    ///< minutes left: 59 down to 0 in regulation, 4 down to 0 in overtime

    Single GaaFactorx = 0; ///< divisor of visiting rates, from the home goalie's average
    Single GaaFactory = 0; ///< divisor of home rates, from the visiting goalie's average
    Single GaaScale = 0;   ///< 1.4, set at the start of every series

    Integer powerplayx; ///< visiting power-play multiplier, 1 at even strength
    Integer powerplayy; ///< home power-play multiplier
    Integer shorthandx; ///< visiting short-handed multiplier, 1 at even strength
    Integer shorthandy; ///< home short-handed multiplier

    Single Finishx = 0; ///< Ratiox / LeagueRatio
    Single Finishy = 0; ///< Ratioy / LeagueRatio

    Integer OVERTIME; ///< 1 while an overtime period is played

    Single penaltyx = 0; ///< draw that decides a home-team penalty this minute
    Single penaltyy = 0; ///< draw that decides a visiting-team penalty this minute

    PlayerArray Ratex; ///< scoring rate of each visiting player this minute
    PlayerArray Ratey; ///< scoring rate of each home player this minute
    PlayerArray Cumx;  ///< cumulative visiting thresholds; Cumx[0] stays 0
    PlayerArray Cumy;  ///< cumulative home thresholds; Cumy[0] stays 0

    // The game being played.
    Integer Scorex; ///< visiting goals in this game
    Integer Scorey; ///< home goals in this game
    Integer Winx;   ///< 1 if the visiting team won the game just ended
    Integer Tiex;   ///< 1 if the game just ended was tied (visiting side)
    Integer Winy;   ///< 1 if the home team won the game just ended
    Integer Tiey;   ///< 1 if the game just ended was tied (home side)

    // Seasons with shootouts: a game level after overtime is decided by one more draw,
    // which the visitors win when it is below shootoutVisitorChance. Off, games may end level.
    bool shootout = false;
    Single shootoutVisitorChance = 0.5f;
};

} // namespace zelkor
