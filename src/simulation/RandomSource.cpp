#include "simulation/RandomSource.h"

#include <chrono>
#include <ctime>

namespace zelkor {

namespace {

constexpr std::uint64_t SplitMixIncrement = 0x9E3779B97F4A7C15; // the golden-ratio step
// SplitMix64's two mixing constants.
constexpr std::uint64_t SplitMixFirstMultiplier = 0xBF58476D1CE4E5B9;
constexpr std::uint64_t SplitMixSecondMultiplier = 0x94D049BB133111EB;
constexpr double SecondsPerMinute = 60.0; // for the seconds since midnight
constexpr double SecondsPerHour = 3600.0;

std::uint64_t splitMix64(std::uint64_t& state) {
    state += SplitMixIncrement;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * SplitMixFirstMultiplier;
    z = (z ^ (z >> 27)) * SplitMixSecondMultiplier;
    return z ^ (z >> 31);
}

} // namespace

void Xoshiro256StarStar::reseed(std::uint64_t seed) {
    std::uint64_t splitMixState = seed;
    for (auto& word : state_) {
        word = splitMix64(splitMixState);
    }
}

std::uint64_t splitMix64Output(std::uint64_t state, std::uint64_t index) {
    // Each output adds the increment once, so the state before output k is known directly.
    state += index * SplitMixIncrement;
    return splitMix64(state);
}

std::uint64_t ClockSeed::seriesSeed() {
    using namespace std::chrono;
    const auto now = now_();
    const std::time_t wholeSeconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&wholeSeconds, &local);
    // to_time_t may round; take the fraction from the same whole second it used.
    const duration<double> fraction = now - system_clock::from_time_t(wholeSeconds);
    const double seconds = local.tm_hour * SecondsPerHour + local.tm_min * SecondsPerMinute +
                           local.tm_sec + fraction.count();
    return seedFromSecondsSinceMidnight(seconds);
}

std::uint64_t seedFromSecondsSinceMidnight(double seconds) {
    return std::bit_cast<std::uint32_t>(static_cast<float>(seconds));
}

} // namespace zelkor
