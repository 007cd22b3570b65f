#include "cli/InterruptWatch.h"

#include <atomic>
#include <csignal>

namespace zelkor {

namespace {

// Read by the handler and by run threads, so lock-free atomics rather than sig_atomic_t.
std::atomic<bool> listening{false};
std::atomic<bool> pressed{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void notePress(int signal) {
    if (listening.load()) {
        pressed.store(true);
        return;
    }
    // SIGINT stays blocked until the handler returns, so the re-raised one then ends the
    // program as if no handler had been set.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void installInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = notePress;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    // A logout or a service stop asks a long run to stop the same way.
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

InterruptWatch::InterruptWatch() {
    pressed.store(false);
    listening.store(true);
}

InterruptWatch::~InterruptWatch() {
    listening.store(false);
}

bool InterruptWatch::interrupted() const {
    return pressed.load();
}

} // namespace zelkor
