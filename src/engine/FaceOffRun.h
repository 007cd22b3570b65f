#pragma once

#include "core/DrawSource.h"
#include "core/PredictionState.h"
#include "core/WindowServices.h"
#include "teamdata/RatingTable.h"

#include <filesystem>

namespace zelkor {

enum class FaceOffOutcome {
    Completed, ///< a series was played and its results shown
    Refused,   ///< an input was missing or wrong; nothing changed
    Failed,    ///< an error ended the run; the previous results stay
};

// Where a run finds what it needs besides the state and the window.
struct FaceOffSetup {
    DrawSource& draws;
    SeedSource& seeds;
    std::filesystem::path rosterFolder;
    const RatingTable& ratings = *RatingTable::builtin(); ///< the table the codes are looked up in
};

// What the face-off button does: beep, check the inputs, load the ratings, read the
// rosters, clear the log and play the series. Every refusal and error reaches the user
// through window.showMessage; nothing is thrown.
FaceOffOutcome runFaceOff(PredictionState& state, WindowServices& window,
                          const FaceOffSetup& setup);

} // namespace zelkor
