#pragma once

#include "core/DrawSource.h"
#include "core/PredictionState.h"
#include "core/WindowServices.h"
#include "engine/InputChecks.h"
#include "teamdata/RatingTable.h"

#include <filesystem>
#include <optional>

namespace zelkor {

enum class FaceOffOutcome {
    Completed, ///< a series was played and its results shown
    Refused,   ///< an input was missing or wrong; nothing changed
    Failed,    ///< an error ended the run; the previous results stay
};

// How a face-off ended and, when its inputs were refused, why: the message shown, the
// input at fault and what is wrong with it, for the window to put the focus back.
struct FaceOffResult {
    FaceOffOutcome outcome = FaceOffOutcome::Completed;
    std::optional<InputRefusal> refusal;
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
// through window.showMessage; nothing is thrown. A refusal also comes back in the result.
FaceOffResult runFaceOff(PredictionState& state, WindowServices& window, const FaceOffSetup& setup);

} // namespace zelkor
