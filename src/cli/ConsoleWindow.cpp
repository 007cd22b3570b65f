#include "cli/ConsoleWindow.h"

#include "core/DisplayText.h"
#include "core/LogLine.h"

#include <ostream>
#include <utility>

namespace zelkor {

namespace {

// A message is one line on the terminal, whatever line ends it holds.
std::string asOneLine(std::string_view text) {
    std::string line;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty() && line.back() != ' ') {
                line += ' ';
            }
        } else {
            line += c;
        }
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

} // namespace

ConsoleWindow::ConsoleWindow(std::string visitorGaaText, std::string homeGaaText,
                             std::ostream& messages)
    : visitorGaaText_(std::move(visitorGaaText)), homeGaaText_(std::move(homeGaaText)),
      messages_(messages) {}

void ConsoleWindow::showMessage(const std::string& message) {
    ++messagesShown_;
    messages_ << visibleText(asOneLine(message)) << std::endl;
}

void ConsoleWindow::appendLog(std::string_view line) {
    // The engine appends whole lines; a text without the line end is kept as it is.
    if (line.ends_with(LogLineEnd)) {
        line.remove_suffix(LogLineEnd.size());
    }
    logLines_.emplace_back(line);
}

} // namespace zelkor
