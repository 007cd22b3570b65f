#pragma once

#include "core/WindowServices.h"

#include <string>
#include <vector>

namespace zelkor::testing {

// A window that records what the engine asks of it.
class RecordingWindow : public WindowServices {
public:
    std::string visitorGaa; ///< text of the visiting GAA box
    std::string homeGaa;    ///< text of the home GAA box
    std::string separator = ".";

    int beeps = 0;
    std::vector<std::string> messages;
    std::string log;
    std::string visitorAverage;
    std::string homeAverage;
    std::string moneyLine;

    void beep() override { ++beeps; }
    std::string visitorGaaText() const override { return visitorGaa; }
    std::string homeGaaText() const override { return homeGaa; }
    void showMessage(const std::string& message) override { messages.push_back(message); }
    void clearLog() override { log.clear(); }
    void appendLog(std::string_view line) override { log += line; }
    void setVisitorAverage(const std::string& text) override { visitorAverage = text; }
    void setHomeAverage(const std::string& text) override { homeAverage = text; }
    void setMoneyLine(const std::string& caption) override { moneyLine = caption; }
    std::string decimalSeparator() const override { return separator; }

    // The log split at its "\r\n" line ends.
    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        std::string::size_type start = 0;
        for (auto end = log.find("\r\n"); end != std::string::npos; end = log.find("\r\n", start)) {
            lines.push_back(log.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }
};

} // namespace zelkor::testing
