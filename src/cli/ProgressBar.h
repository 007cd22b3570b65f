#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace zelkor {

// The command line's one progress bar, on standard error while that is a terminal (never
// in a file or a pipe): "[#####     ] 412 of 1230 games". It is redrawn only when what it
// shows changes, and wiped when done or destroyed so that messages start on a clean line.
class ProgressBar {
public:
    ProgressBar(std::ostream& err, bool shown);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // done of total things, named by unit ("games", "series"); wiped once all are done.
    void count(std::uint64_t done, std::uint64_t total, const char* unit);
    // A share from 0 to 1 of the whole and what is being done.
    void stage(double share, const std::string& what);
    void clear();

private:
    void draw(double share, const std::string& text);

    std::ostream& err_;
    bool shown_;
    bool drawn_ = false;
    int filled_ = -1;
    int percent_ = -1;
    std::string text_;
};

// Whether standard error is a terminal, where a progress bar belongs.
bool standardErrorIsTerminal();

} // namespace zelkor
