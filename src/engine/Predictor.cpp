#include "engine/Predictor.h"

#include <utility>

namespace zelkor {

Predictor::Predictor(std::filesystem::path rosterFolder, std::unique_ptr<SeedSource> seeds)
    : seeds_(seeds ? std::move(seeds) : std::make_unique<ClockSeed>()),
      rosterFolder_(std::move(rosterFolder)) {}

FaceOffOutcome Predictor::faceOff(WindowServices& window) {
    return runFaceOff(state_, window, FaceOffSetup{draws_, recordingSeeds_, rosterFolder_});
}

} // namespace zelkor
