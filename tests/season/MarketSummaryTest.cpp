#include "season/MarketSummary.h"

#include "season/DataErrors.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

MarketSummary tested() {
    MarketSummary summary;
    summary.season = "2024-25";
    summary.games = 1312;
    summary.modelLogLoss = 0.67071;
    summary.eloLogLoss = 0.66734;
    summary.eloCarried = true;
    summary.gamesWithOdds = 1310;
    summary.modelLogLossWithOdds = 0.67102;
    summary.marketLogLoss = 0.65914;
    summary.bets = 1044;
    summary.returnOnStake = -0.021;
    summary.payingEdge = 0.04;
    return summary;
}

TEST(MarketSummary, TheSeasonOfADayIsTheOneStartingBeforeIt) {
    EXPECT_EQ(seasonOf("2022-03-01"), "2021-22");
    EXPECT_EQ(seasonOf("2021-10-12"), "2021-22");
    EXPECT_EQ(seasonOf("2021-01-13"), "2020-21"); // the late start of 2020-21
    EXPECT_EQ(seasonOf("1999-12-31"), "1999-00");
    EXPECT_EQ(seasonOf("2022-06-30"), "2021-22"); // the last day of a season's year
    EXPECT_EQ(seasonOf("2022-07-01"), "2022-23"); // the first of the next
}

TEST(MarketSummary, TheFileReadsBackWhatWasWritten) {
    const MarketSummary summary = tested();
    const MarketSummary back =
        parseMarketSummary(parseCsv(marketSummaryText(summary), "summary"), "summary");
    EXPECT_EQ(back.season, "2024-25");
    EXPECT_EQ(back.games, 1312);
    EXPECT_EQ(back.modelLogLoss, summary.modelLogLoss);
    EXPECT_EQ(back.eloLogLoss, summary.eloLogLoss);
    EXPECT_TRUE(back.eloCarried);
    EXPECT_EQ(back.gamesWithOdds, 1310);
    EXPECT_EQ(back.modelLogLossWithOdds, summary.modelLogLossWithOdds);
    EXPECT_EQ(back.marketLogLoss, summary.marketLogLoss);
    EXPECT_EQ(back.bets, 1044);
    EXPECT_EQ(back.returnOnStake, summary.returnOnStake);
    EXPECT_EQ(back.payingEdge, summary.payingEdge);
    MarketSummary untested;
    untested.season = "2013-14";
    const MarketSummary empty =
        parseMarketSummary(parseCsv(marketSummaryText(untested), "summary"), "summary");
    EXPECT_FALSE(empty.marketLogLoss);
    EXPECT_FALSE(empty.payingEdge);
}

TEST(MarketSummary, ABadRowIsRefusedWithItsLine) {
    for (const char* text :
         {"key,value\ngames,many\n", "key,value\nmarket_log_loss,0.6x\n", "key,value\ncolour,red\n",
          "name,value\ngames,3\n", "key,value\ngames,-4\n", "key,value\nelo_carried,yes\n"}) {
        SCOPED_TRACE(text);
        try {
            parseMarketSummary(parseCsv(text, "summary"), "The summary");
            FAIL() << "accepted";
        } catch (const InputDataError& error) {
            const std::string message = error.what();
            EXPECT_TRUE(message.find("line 2") != std::string::npos ||
                        message.find("header") != std::string::npos)
                << message;
        }
    }
}

TEST(MarketSummary, TheLineSaysHowTheSeasonWentAndWhichEdgesDidNotPay) {
    EXPECT_EQ(marketSummaryLine(tested()),
              "In 2024-25 this model's log loss was 0.671, a carried Elo's 0.667, and on the "
              "1310 games with odds 0.671 against the market's 0.659: edges under 4 % did not "
              "pay.");
    MarketSummary none = tested();
    none.payingEdge.reset();
    EXPECT_NE(marketSummaryLine(none).find("no size of edge paid"), std::string::npos);
    MarketSummary every = tested();
    every.payingEdge = 0;
    EXPECT_NE(marketSummaryLine(every).find("betting every edge paid"), std::string::npos);
    MarketSummary noOdds = tested();
    noOdds.marketLogLoss.reset();
    EXPECT_NE(marketSummaryLine(noOdds).find("without odds its edges were not tested"),
              std::string::npos);
    EXPECT_NE(marketSummaryLine(std::nullopt).find("has not been tested"), std::string::npos);
}

TEST(MarketSummary, OnlyEdgesFromThePayingOneUpWereFoundProfitable) {
    const std::optional<MarketSummary> summary = tested();
    EXPECT_FALSE(edgeFoundProfitable(summary, 0.039));
    EXPECT_TRUE(edgeFoundProfitable(summary, 0.04));
    EXPECT_TRUE(edgeFoundProfitable(summary, 0.12));
    EXPECT_FALSE(edgeFoundProfitable(std::nullopt, 0.12));
    MarketSummary none = tested();
    none.payingEdge.reset();
    EXPECT_FALSE(edgeFoundProfitable(none, 0.12));
    MarketSummary every = tested();
    every.payingEdge = 0;
    EXPECT_FALSE(edgeFoundProfitable(every, -0.01)); // a negative edge is no bet
    EXPECT_FALSE(edgeFoundProfitable(every, 0.0));   // nor is none
    EXPECT_TRUE(edgeFoundProfitable(every, 0.001));
}

// A walk-forward report's summary: the season of its earliest game (the games need not be
// in date order), the bets and return of the smallest edge band (every edge), and the
// market's figures only when the backtest had odds.
TEST(MarketSummary, TheSummaryOfAReportTakesTheEarliestDayAndTheBandOfEveryEdge) {
    WalkForwardReport report;
    for (const char* date : {"2022-07-02", "2021-10-12", "2022-04-01"}) {
        BacktestGame game;
        game.result.date = date;
        report.backtest.games.push_back(game);
    }
    report.backtest.model.logLoss = 0.64;
    report.elo.logLoss = 0.66;
    report.eloCarried = false;
    report.backtest.gamesWithOdds = 2;
    FlatStake every;
    every.bets = 40;
    every.profit = -3;
    FlatStake larger;
    larger.bets = 31;
    larger.profit = 2;
    report.backtest.edgeBands = {{0, every}, {0.01, larger}, {0.02, FlatStake{}}};
    MarketSummary summary = marketSummaryOf(report);
    EXPECT_EQ(summary.season, "2021-22");
    EXPECT_EQ(summary.games, 3);
    EXPECT_EQ(summary.modelLogLoss, 0.64);
    EXPECT_EQ(summary.eloLogLoss, 0.66);
    EXPECT_FALSE(summary.eloCarried);
    EXPECT_EQ(summary.gamesWithOdds, 2);
    EXPECT_EQ(summary.bets, 40);
    EXPECT_DOUBLE_EQ(*summary.returnOnStake, -3.0 / 40);
    EXPECT_EQ(summary.payingEdge, 0.01);
    // Without the market's figures the log losses on the games with odds stay unknown.
    EXPECT_FALSE(summary.marketLogLoss);
    EXPECT_FALSE(summary.modelLogLossWithOdds);
    report.backtest.bookmaker = ForecastFigures{};
    report.backtest.bookmaker->logLoss = 0.61;
    report.backtest.modelWithOdds = ForecastFigures{};
    report.backtest.modelWithOdds->logLoss = 0.63;
    report.eloCarried = true;
    summary = marketSummaryOf(report);
    EXPECT_EQ(summary.marketLogLoss, 0.61);
    EXPECT_EQ(summary.modelLogLossWithOdds, 0.63);
    EXPECT_TRUE(summary.eloCarried);
}

} // namespace
} // namespace zelkor
