#pragma once

#include "core/WindowServices.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace zelkor {

// One game of the series as numbers.
struct PlayedGame {
    struct Goal {
        bool visiting = false;
        int row = 0;    ///< the scorer's roster row, 1 to 18
        int minute = 0; ///< as the log counts it, down to 0
        bool overtime = false;
    };
    std::vector<Goal> goals;
    int visitorScore = 0;
    int homeScore = 0;
    bool overtime = false;
};

// The window services for a terminal: the GAA boxes hold the texts given on the command
// line, messages go to an error stream at once, and the log and the results are kept for
// the report written after the run.
class ConsoleWindow final : public WindowServices {
public:
    // messages must outlive the window.
    ConsoleWindow(std::string visitorGaaText, std::string homeGaaText, std::ostream& messages);

    void beep() override {}
    std::string visitorGaaText() const override { return visitorGaaText_; }
    std::string homeGaaText() const override { return homeGaaText_; }
    void showMessage(const std::string& message) override;

    void clearLog() override {
        logLines_.clear();
        games_.clear();
        goals_.clear();
    }
    void appendLog(std::string_view line) override;
    void goalScored(bool visiting, int row, int minute, bool overtime) override {
        goals_.push_back({visiting, row, minute, overtime});
    }
    void gameEnded(int visitorScore, int homeScore, bool overtime) override {
        games_.push_back({std::move(goals_), visitorScore, homeScore, overtime});
        goals_.clear();
    }

    void setVisitorAverage(const std::string& text) override { visitorAverage_ = text; }
    void setHomeAverage(const std::string& text) override { homeAverage_ = text; }
    void setMoneyLine(const std::string& caption) override { moneyLine_ = caption; }

    // The log one line each, without line ends.
    const std::vector<std::string>& logLines() const { return logLines_; }
    const std::vector<PlayedGame>& games() const { return games_; }
    const std::string& visitorAverage() const { return visitorAverage_; }
    const std::string& homeAverage() const { return homeAverage_; }
    const std::string& moneyLine() const { return moneyLine_; }
    int messagesShown() const { return messagesShown_; }

private:
    std::string visitorGaaText_;
    std::string homeGaaText_;
    std::ostream& messages_;
    int messagesShown_ = 0;
    std::vector<std::string> logLines_;
    std::vector<PlayedGame> games_;
    std::vector<PlayedGame::Goal> goals_; ///< of the game being played
    std::string visitorAverage_;
    std::string homeAverage_;
    std::string moneyLine_;
};

} // namespace zelkor
