#pragma once

namespace zelkor {

// 128 + SIGINT, as shells report a run ended by Ctrl+C.
constexpr int ExitInterrupted = 130;

// Takes Ctrl+C (and SIGTERM and SIGHUP) for the whole program; call once, first thing in
// main. While no InterruptWatch lasts, each still ends the program at once with the usual
// status.
void installInterruptHandler();

// Ctrl+C asks a long run to stop while the watch lasts, instead of ending the program
// half way. Watches do not nest.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // Whether Ctrl+C was pressed since the watch began.
    bool interrupted() const;
};

} // namespace zelkor
