#pragma once

namespace zelkor {

// 128 + SIGINT, as shells report a run ended by Ctrl+C.
constexpr int ExitInterrupted = 130;

// Ctrl+C asks a long run to stop while the watch lasts, instead of ending the program
// half way; the previous handler comes back after.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // Whether Ctrl+C was pressed since the watch began.
    bool interrupted() const;

private:
    void (*previous_)(int);
};

} // namespace zelkor
