// Every reader of a user's file names a bad value alike: the kind of file, its path, the
// line, the field, then what is wrong. One bad value a reader, each read from a real file.

#include "season/CsvFile.h"
#include "season/DataErrors.h"
#include "season/Elo.h"
#include "season/LeagueAlignment.h"
#include "season/MarketSummary.h"
#include "season/MessageText.h"
#include "season/OddsFile.h"
#include "season/ResultsFile.h"
#include "season/RosterImport.h"
#include "season/Schedule.h"
#include "season/TeamTotalsFile.h"
#include "teamdata/RatingsFile.h"
#include "teamdata/SeasonRatings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

class FileMessage : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("zelkor-file-message-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path write(const std::string& name, const std::string& text) const {
        std::ofstream(folder_ / name, std::ios::binary) << text;
        return folder_ / name;
    }

    // The message of what read throws; empty when it reads the file.
    static std::string messageOf(const std::function<void()>& read) {
        try {
            read();
        } catch (const std::exception& error) {
            return error.what();
        }
        return {};
    }

    fs::path folder_;
};

TEST_F(FileMessage, EveryReaderNamesTheFileLineAndFieldAlike) {
    const TeamCodeMap league({}, TeamCodeKind::League);
    const fs::path results = write("results.csv", "date,visitor,home,visitor_goals,home_goals\n"
                                                  "2024-10-09,BOS,TOR,3,2\n"
                                                  "2024-10-10,TOR,BOS,2,x\n");
    const fs::path skaters =
        write("skaters.csv", "Player,Tm,Pos,GP,G,A\nAnn Bee,TOR,C,80,20,30\nCy Dee,TOR,D,7O,1,2\n");
    const fs::path teams = write("teams.csv", "tmID,G,GA\nBOS,82,200\nTOR,82,-3\n");
    const fs::path odds = write("odds.csv", "date,visitor,home,visitor_odds,home_odds\n"
                                            "2024-10-09,BOS,TOR,2.1,1.8\n"
                                            "2024-10-10,TOR,BOS,0,1.8\n");
    const fs::path schedule = write("schedule.csv", "date,visitor,home,visitor_goals,home_goals\n"
                                                    "2024-10-09,BOS,TOR,,\n"
                                                    "2024-10-32,TOR,BOS,,\n");
    write("ratings.csv", "code,venue,offence,penalty,power_play,short_handed,defence\n"
                         "BOS,road,0.71,0.2381,0.9273,1.0446,0.9\n"
                         "TOR,road,0.8,fast,1.1,1.0,1.0\n");
    write("shootouts.csv", "code,wins,losses\nBOS,3,4\nTOR,5,many\n");
    write(EloFileName, "code,elo\nBOS,1500\nTOR,-1\n");
    write(MarketSummaryFileName, "key,value\ngames,1312\nmodel_log_loss,low\n");
    write(DivisionsFileName, "code,conference,division\nBOS,East,Atlantic\nTOR,,Atlantic\n");
    write(PlayoffFormatFileName, "division-top-four\n");

    const auto labelOf = [&](std::string_view kind, const std::string& name) {
        return fileLabel(kind, folder_ / name);
    };
    const struct {
        std::string message;
        std::function<void()> read;
    } readers[] = {
        {labelOf("Results", "results.csv") + ", line 3, home_goals: 'x' is not a whole number",
         [&] { readResultsFile(results, league, 2.8f); }},
        {labelOf("Skater statistics", "skaters.csv") +
             ", line 3, games played: '7O' (Cy Dee) is not a whole number",
         [&] {
             const std::string label = fileLabel(SkatersFileKind, skaters);
             readSkaterStatistics(readCsvFile(skaters, label), label, league, std::nullopt);
         }},
        {labelOf("Team statistics", "teams.csv") + ", line 3, GA: '-3' is not a whole number",
         [&] {
             const std::string label = fileLabel(TeamStatsFileKind, teams);
             readTeamTotals(readCsvFile(teams, label), label, league, std::nullopt);
         }},
        {labelOf("Odds", "odds.csv") + ", line 3, visitor_odds: '0' is not",
         [&] {
             const std::string label = fileLabel(OddsFileKind, odds);
             readOddsFile(readCsvFile(odds, label), label, league, OddsLine::Close);
         }},
        {labelOf("Schedule", "schedule.csv") + ", line 3, date: '2024-10-32' is not a date",
         [&] { readSchedule(schedule, league, ""); }},
        {labelOf("Ratings", "ratings.csv") + ", line 3, penalty: 'fast'",
         [&] { readRatingsFile(folder_ / "ratings.csv"); }},
        {labelOf("Shootouts", "shootouts.csv") + ", line 3, losses: 'many' is not a count",
         [&] { readShootoutsFile(folder_ / "shootouts.csv"); }},
        {labelOf("Elo", EloFileName) + ", line 3, elo: '-1' is not a number above 0",
         [&] {
             const fs::path file = folder_ / EloFileName;
             const std::string label = fileLabel("Elo", file);
             parseEloFile(readCsvFile(file, label), label);
         }},
        {labelOf("Summary", MarketSummaryFileName) +
             ", line 3, model_log_loss: 'low' is no value of model_log_loss",
         [&] { readMarketSummary(folder_); }},
        {labelOf("Divisions", DivisionsFileName) + ", line 3, conference: it is empty",
         [&] { readAlignment(folder_); }},
    };
    for (const auto& reader : readers) {
        const std::string message = messageOf(reader.read);
        EXPECT_EQ(message.substr(0, reader.message.size()), reader.message) << message;
    }
}

// A file that cannot be read at all is named by its kind as well.
TEST_F(FileMessage, AMissingFileIsNamedByItsKind) {
    const std::string message =
        messageOf([&] { readResultsFile(folder_ / "none.csv", TeamCodeMap(), 2.8f); });
    EXPECT_EQ(message, fileLabel("Results", folder_ / "none.csv") + " was not found.");
}

} // namespace
} // namespace zelkor
