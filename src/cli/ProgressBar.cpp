#include "cli/ProgressBar.h"

#include <algorithm>
#include <ostream>
#include <unistd.h>

namespace zelkor {

namespace {

constexpr int BarWidth = 40; // characters between the brackets

} // namespace

ProgressBar::ProgressBar(std::ostream& err, bool shown) : err_(err), shown_(shown) {}

ProgressBar::~ProgressBar() {
    clear();
}

void ProgressBar::count(std::uint64_t done, std::uint64_t total, const char* unit) {
    const double share = total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1;
    // A terminal redrawn for every game of a long run would spend its time drawing: once a
    // percent is enough.
    const int percent = static_cast<int>(share * 100);
    if (drawn_ && percent == percent_ && done != total) {
        return;
    }
    percent_ = percent;
    draw(share, std::to_string(done) + " of " + std::to_string(total) + " " + unit);
    if (done == total) {
        clear();
    }
}

void ProgressBar::stage(double share, const std::string& what) {
    draw(share, what);
}

void ProgressBar::draw(double share, const std::string& text) {
    if (!shown_) {
        return;
    }
    const int filled = static_cast<int>(BarWidth * std::clamp(share, 0.0, 1.0));
    if (drawn_ && filled == filled_ && text == text_) {
        return;
    }
    filled_ = filled;
    text_ = text;
    drawn_ = true;
    err_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(BarWidth - filled), ' ') << "] " << text
         << "\x1b[K" << std::flush;
}

void ProgressBar::clear() {
    if (drawn_) {
        err_ << "\r\x1b[K" << std::flush;
        drawn_ = false;
    }
}

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

} // namespace zelkor
