// Turns arbitrary bytes into a whole prediction: two team codes, the two goalie averages,
// a seed and the two roster files, then runs the face-off as the button does (ratings,
// rosters, all 11 games, summary). It may only finish the series or stop with the
// engine's own refusal or error; anything else (another exception, a crash, a sanitizer
// report, a finished run that broke its promises) is a finding.
//
// Input: visiting code index, home code index (a byte each), visiting and home GAA (two
// bytes each, see gaaOf), the seed (eight bytes, little-endian), then the visiting file,
// a 0x1e byte and the home file; without the byte the one file serves both teams.

#include "FuzzSupport.h"
#include "engine/FaceOffRun.h"
#include "engine/InputChecks.h"
#include "simulation/GameLoop.h"
#include "simulation/RandomSource.h"
#include "support/RecordingWindow.h"
#include "teamdata/TeamRatings.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <string_view>

#include <unistd.h>

namespace {

using zelkor::fuzzing::finding;
using zelkor::fuzzing::ScratchFolder;

namespace fs = std::filesystem;

constexpr char FileSeparator = '\x1e';
constexpr std::size_t HeaderSize = 1 + 1 + 2 + 2 + 8;

// GAA codes from this one up pick an extreme value instead of an ordinary average.
constexpr std::uint16_t FirstExtremeGaa = 0xff00;
constexpr std::array<float, 10> ExtremeGaas = {0.0f,
                                               -1.0f,
                                               1e-45f,
                                               1e-30f,
                                               1e30f,
                                               std::numeric_limits<float>::max(),
                                               std::numeric_limits<float>::infinity(),
                                               std::numeric_limits<float>::quiet_NaN(),
                                               0.001f,
                                               1000.0f};

// An ordinary average from 0.5 in steps of 0.001, or one of the extreme values.
float gaaOf(std::uint16_t code) {
    if (code >= FirstExtremeGaa) {
        return ExtremeGaas[(code - FirstExtremeGaa) % ExtremeGaas.size()];
    }
    return static_cast<float>(0.5 + code / 1000.0);
}

std::uint64_t littleEndian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

// What a finished series promises the window.
void checkFinished(const zelkor::PredictionState& state,
                   const zelkor::testing::RecordingWindow& window) {
    if (state.match != 12) {
        finding("a finished series left match at " + std::to_string(state.match));
    }
    if (window.logLines().size() < static_cast<std::size_t>(zelkor::GamesPerSeries)) {
        finding("a finished series logged fewer than 11 final scores");
    }
    if (window.visitorAverage.empty() || window.homeAverage.empty() || window.moneyLine.empty()) {
        finding("a finished series left an average or the money line unset");
    }
    if (static_cast<int>(state.Winsx) + static_cast<int>(state.Winsy) +
            static_cast<int>(state.Tiesx) !=
        zelkor::GamesPerSeries) {
        finding("the wins and ties of a finished series do not add up to 11");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.size() < HeaderSize) {
        return 0;
    }
    static const ScratchFolder folder("zelkor-faceoff-");
    const auto road = zelkor::roadRatingTable();
    const auto home = zelkor::homeRatingTable();

    zelkor::PredictionState state;
    state.VISITOR = road[static_cast<unsigned char>(input[0]) % road.size()].code;
    state.HOME = home[static_cast<unsigned char>(input[1]) % home.size()].code;
    state.GAAV = gaaOf(static_cast<std::uint16_t>(littleEndian(input.substr(2, 2))));
    state.GAAH = gaaOf(static_cast<std::uint16_t>(littleEndian(input.substr(4, 2))));
    zelkor::FixedSeed seeds(littleEndian(input.substr(6, 8)));

    const std::string_view files = input.substr(HeaderSize);
    const auto split = files.find(FileSeparator);
    folder.write(state.VISITOR, files.substr(0, split));
    if (state.HOME != state.VISITOR) {
        folder.write(state.HOME, split == std::string_view::npos ? files.substr(0, split)
                                                                 : files.substr(split + 1));
    }

    zelkor::testing::RecordingWindow window;
    window.visitorGaa = "GAA";
    window.homeGaa = "GAA";
    zelkor::Xoshiro256StarStar draws;
    const zelkor::FaceOffSetup setup{draws, seeds, folder.path()};
    const zelkor::FaceOffResult result = zelkor::runFaceOff(state, window, setup);
    const zelkor::FaceOffOutcome outcome = result.outcome;
    if ((outcome == zelkor::FaceOffOutcome::Refused) != result.refusal.has_value()) {
        finding("a run's refusal and its outcome disagree");
    }

    if (outcome == zelkor::FaceOffOutcome::Completed) {
        checkFinished(state, window);
        return 0;
    }
    if (window.messages.size() != 1) {
        finding("a stopped run showed " + std::to_string(window.messages.size()) + " messages");
    }
    const std::string& message = window.messages.front();
    if (outcome == zelkor::FaceOffOutcome::Refused && zelkor::isUsableGaa(state.GAAV) &&
        zelkor::isUsableGaa(state.GAAH)) {
        finding("a run with usable inputs was refused: " + message);
    }
    // Only the engine's own errors may stop a run; the run's catch-alls mean something else.
    if (message.starts_with("The prediction failed") || message.starts_with("Not enough memory")) {
        finding("a run stopped with an error that is not the engine's: " + message);
    }
    return 0;
}
