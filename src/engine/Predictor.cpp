#include "engine/Predictor.h"

#include <utility>

namespace zelkor {

Predictor::Predictor(std::filesystem::path rosterFolder, std::unique_ptr<SeedSource> seeds,
                     std::shared_ptr<const RatingTable> ratings)
    : seeds_(seeds ? std::move(seeds) : std::make_unique<ClockSeed>()),
      rosterFolder_(std::move(rosterFolder)),
      ratings_(ratings ? std::move(ratings) : RatingTable::builtin()) {}

void Predictor::useSeason(std::filesystem::path rosterFolder,
                          std::shared_ptr<const RatingTable> ratings) {
    rosterFolder_ = std::move(rosterFolder);
    ratings_ = ratings ? std::move(ratings) : RatingTable::builtin();
}

FaceOffResult Predictor::faceOff(WindowServices& window) {
    state_.shootout = shootouts_.on;
    state_.shootoutVisitorChance = shootouts_.visitorChance(state_.VISITOR, state_.HOME);
    return runFaceOff(state_, window,
                      FaceOffSetup{draws_, recordingSeeds_, rosterFolder_, *ratings_});
}

} // namespace zelkor
