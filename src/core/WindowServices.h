#pragma once

#include <string>
#include <string_view>

namespace zelkor {

// What the prediction needs of the main window. The window program, the command-line
// program and the tests each implement it; the engine only borrows it for a run and
// never owns or stores it.
class WindowServices {
public:
    virtual ~WindowServices() = default;

    // The platform's default beep; returns at once.
    virtual void beep() = 0;

    // The texts of the two goals-against-average boxes, exactly as shown.
    virtual std::string visitorGaaText() const = 0;
    virtual std::string homeGaaText() const = 0;

    // A modal message with an OK button only; returns when the user has closed it.
    virtual void showMessage(const std::string& message) = 0;

    // The play-by-play log. appendLog adds one line, ending in LogLineEnd.
    virtual void clearLog() = 0;
    virtual void appendLog(std::string_view line) = 0;

    // The goals and final scores of the log as numbers, for a window that keeps them: a goal
    // by the player of that roster row at the minute of the log (counting down, in
    // overtime too), and the end of a game.
    virtual void goalScored(bool /*visiting*/, int /*row*/, int /*minute*/, bool /*overtime*/) {}
    virtual void gameEnded(int /*visitorScore*/, int /*homeScore*/, bool /*overtime*/) {}

    // The results of a completed series.
    virtual void setVisitorAverage(const std::string& text) = 0;
    virtual void setHomeAverage(const std::string& text) = 0;
    virtual void setMoneyLine(const std::string& caption) = 0;

    // The decimal separator of the user's locale, for reals shown to the user.
    virtual std::string decimalSeparator() const { return "."; }
};

} // namespace zelkor
