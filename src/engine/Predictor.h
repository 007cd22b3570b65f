#pragma once

#include "core/DrawSource.h"
#include "core/PredictionState.h"
#include "core/WindowServices.h"
#include "engine/FaceOffRun.h"
#include "simulation/RandomSource.h"
#include "teamdata/RatingTable.h"
#include "teamdata/SeasonRatings.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace zelkor {

// The engine as a front end holds it: the one prediction state, the generator and the
// seed source, and the roster folder. Each face-off runs through the window services
// given for it, which the predictor only borrows.
class Predictor {
public:
    // seeds: where each series' seed comes from; the clock when none is given.
    explicit Predictor(std::filesystem::path rosterFolder,
                       std::unique_ptr<SeedSource> seeds = nullptr,
                       std::shared_ptr<const RatingTable> ratings = RatingTable::builtin());
    Predictor(const Predictor&) = delete;
    Predictor& operator=(const Predictor&) = delete;

    PredictionState& state() { return state_; }
    const PredictionState& state() const { return state_; }
    const std::filesystem::path& rosterFolder() const { return rosterFolder_; }
    const std::shared_ptr<const RatingTable>& ratings() const { return ratings_; }

    // Another season: its roster folder and rating table, for the face-offs from now on.
    void useSeason(std::filesystem::path rosterFolder, std::shared_ptr<const RatingTable> ratings);

    // Whether level games go to a shootout from now on, and how the clubs' records weigh it.
    void useShootouts(ShootoutRules shootouts) { shootouts_ = std::move(shootouts); }

    // What the face-off button does, on this predictor's state.
    FaceOffResult faceOff(WindowServices& window);

    // The seed of the last series played, so that it can be reported and replayed; none
    // before the first.
    std::optional<std::uint64_t> lastSeed() const { return lastSeed_; }

private:
    // Hands out the seeds of the predictor's source and keeps the last one.
    class RecordingSeeds final : public SeedSource {
    public:
        RecordingSeeds(SeedSource& source, std::optional<std::uint64_t>& last)
            : source_(source), last_(last) {}
        std::uint64_t seriesSeed() override { return *(last_ = source_.seriesSeed()); }

    private:
        SeedSource& source_;
        std::optional<std::uint64_t>& last_;
    };

    PredictionState state_;
    Xoshiro256StarStar draws_;
    std::unique_ptr<SeedSource> seeds_;
    std::optional<std::uint64_t> lastSeed_;
    RecordingSeeds recordingSeeds_{*seeds_, lastSeed_};
    std::filesystem::path rosterFolder_;
    std::shared_ptr<const RatingTable> ratings_;
    ShootoutRules shootouts_;
};

} // namespace zelkor
