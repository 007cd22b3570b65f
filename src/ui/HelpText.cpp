#include "ui/HelpText.h"

namespace zelkor::ui {

namespace {

// Wrapped by hand so that no line is wider than the box at its usual size.
constexpr std::string_view Text =
    "ZELKOR  Hockey Game Prediction Program  Version " ZELKOR_VERSION "\r\n"
    "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~\r\n"
    "\r\n"
    "ZELKOR is a product for Windows 95, Windows 98 and Windows NT. It has not been\r\n"
    "tested on Windows ME or Windows 2000. It is meant for fun and amusement only.\r\n"
    "ZELKOR is not associated in any way with the professional league, its franchises\r\n"
    "or its players' association; their names are registered names of that\r\n"
    "organisation.\r\n"
    "\r\n"
    "ZELKOR predicts the results of North American major professional hockey league\r\n"
    "games. It works from published, up-to-date statistics for individual scoring,\r\n"
    "team offence home and road, team power plays home and road, team short-handed\r\n"
    "play home and road and team penalties home and road. All of them are combined in\r\n"
    "a probability algorithm with some variable constants, which were calibrated\r\n"
    "against actual results. The results contain randomness and are not repeatable:\r\n"
    "the same two teams will not give the same scores twice.\r\n"
    "\r\n"
    "For every prediction ZELKOR plays a series of 11 games between the two selected\r\n"
    "teams and gives the average score of each team. The \"Money Line\" result shows\r\n"
    "the advantage of the expected winner, based on the number of total wins out of\r\n"
    "11. In some cases the team with the lower average score holds the money-line\r\n"
    "advantage. You can compare the line with the lines published by the sports\r\n"
    "gaming industry.\r\n"
    "\r\n"
    "Counting all ties as \"Pushes\", the testing version performed at 59.2% accuracy\r\n"
    "against actual game results from 05 Oct 00 to 12 Mar 01. No guarantees of any\r\n"
    "kind are made.\r\n"
    "\r\n"
    "The team data files may be amended by users. The teams are set as of the\r\n"
    "14 Mar 01 post-trade deadline. Anyone who changes them must follow the same\r\n"
    "comma-delimited format and pattern: one player to a line, with name, games\r\n"
    "played, goals and assists. The top 18 players listed are used for game play, and\r\n"
    "a team should list six defencemen.\r\n"
    "\r\n"
    "##### Installation #####\r\n"
    "\r\n"
    "ZELKOR needs its program file and the 30 team data files ANA, ATL, BOS, BUF,\r\n"
    "CAL, CAR, CBJ, CHI, COL, DAL, DET, EDM, FLO, LAK, MIN, MON, NAS, NJD, NYI, NYR,\r\n"
    "OTT, PHI, PHO, PIT, SJS, SLB, TBL, TOR, VAN, WAS. The three team data files AVG,\r\n"
    "NAT and WAT (\"Average, North American AllStar, World AllStar\") are optional.\r\n"
    "Create a folder, unpack the distributed archive into it and run the program from\r\n"
    "there.\r\n"
    "\r\n"
    "Have up-to-date goalie (or team) goals-against averages at hand. Then:\r\n"
    "\t1. Select Visiting Team, Enter GAA\r\n"
    "\t2. Select Home Team, Enter GAA\r\n"
    "\t3. Click or press Enter on the \"Face Off\" button\r\n"
    "\t4. Record Scores\r\n"
    "\r\n"
    "##### Program Information #####\r\n"
    "\r\n"
    "Statistics are available from various sources on the web and in printed media.\r\n"
    "\r\n"
    "ZELKOR is not to be used in violation of any law. By using it you accept the\r\n"
    "responsibility for knowing and acting within all local or municipal, state or\r\n"
    "provincial and federal regulations. If it is not legal for you to use ZELKOR, do\r\n"
    "not use it.\r\n"
    "\r\n"
    "Thank you for your interst and support! \r\n"
    "******************************************\r\n";

// What this copy adds at the end of the text: the Odds window and its seeded runs, and the
// Season menu.
constexpr std::string_view OddsNote =
    "\r\n"
    "The Odds window (Odds, beside ReadMe) plays many series of the teams and GAAs\r\n"
    "entered, 100,000 unless you change it, and shows the money line, the goals, the\r\n"
    "totals, the score grid and the top scorers; type a bookmaker's odds below them to\r\n"
    "see the edge. A run given a seed plays the same series every time; a run without\r\n"
    "one shows the seed it was given, so that it can be played again.\r\n"
    "\r\n"
    "The Season menu (Alt+S) predicts with another season. \"Open season folder\" takes a\r\n"
    "folder of team data files with its ratings.csv; \"Build season\" makes one from a\r\n"
    "season's skater statistics and results, shows the fit's check and the files it wrote,\r\n"
    "and offers to use it. The season in use is named at the right of the menu bar and is\r\n"
    "opened again at the next start.\r\n";

// The section after which the note of the roster folder goes, at the end of its first
// paragraph.
constexpr std::string_view InstallationHeading = "##### Installation #####\r\n\r\n";
constexpr std::string_view ParagraphEnd = "\r\n\r\n";

// The help text with a paragraph added after the first one of its installation section,
// and the note of the Odds window at its end.
std::string withInstallationNote(const std::string& note) {
    std::string text(Text);
    const std::size_t section = text.find(InstallationHeading) + InstallationHeading.size();
    const std::size_t at = text.find(ParagraphEnd, section) + ParagraphEnd.size();
    text.insert(at, note + "\r\n\r\n");
    text += OddsNote;
    return text;
}

} // namespace

std::string_view helpText() {
    return Text;
}

std::string helpTextWithRosterFolder(std::string_view folder) {
    return withInstallationNote("This copy of ZELKOR reads the team data files from this folder; "
                                "edit them there:\r\n\t" +
                                std::string(folder));
}

std::string helpTextWithSeasonFolder(std::string_view folder) {
    return withInstallationNote("This copy of ZELKOR predicts with the season in this folder, its "
                                "team data files and its ratings (ratings.csv); edit them "
                                "there:\r\n\t" +
                                std::string(folder));
}

} // namespace zelkor::ui
