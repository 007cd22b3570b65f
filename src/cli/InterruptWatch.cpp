#include "cli/InterruptWatch.h"

#include <csignal>

namespace zelkor {

namespace {

volatile std::sig_atomic_t pressed = 0;

extern "C" void notePress(int) {
    pressed = 1;
}

} // namespace

InterruptWatch::InterruptWatch() : previous_(std::signal(SIGINT, notePress)) {
    pressed = 0;
}

InterruptWatch::~InterruptWatch() {
    std::signal(SIGINT, previous_);
}

bool InterruptWatch::interrupted() const {
    return pressed != 0;
}

} // namespace zelkor
