#include "core/FaceOffRun.h"

#include "core/Errors.h"
#include "simulation/GameLoop.h"
#include "teamdata/RosterReader.h"
#include "teamdata/TeamRatings.h"

#include <cmath>
#include <new>
#include <optional>
#include <string>

namespace zelkor {

namespace {

// Why the inputs cannot start a prediction, or nothing when they can. Checked before
// anything changes: a prediction on a previous team's ratings, on an empty code or with
// a goalie average that the factors divide by would be plainly wrong.
std::optional<std::string> refusalOfInputs(const PredictionState& state,
                                           const WindowServices& window) {
    // Both texts are always read; a text of blanks is not empty.
    const bool visitorGaaEmpty = window.visitorGaaText().empty();
    const bool homeGaaEmpty = window.homeGaaText().empty();
    if (visitorGaaEmpty || homeGaaEmpty) {
        return "You must enter GAA";
    }
    if (state.VISITOR.empty()) {
        return "You must enter the visiting team";
    }
    if (state.HOME.empty()) {
        return "You must enter the home team";
    }
    if (!isRoadTeamCode(state.VISITOR)) {
        return "Unknown visiting team: " + state.VISITOR;
    }
    if (!isHomeTeamCode(state.HOME)) {
        return "Unknown home team: " + state.HOME;
    }
    const auto isAboveZero = [](Single gaa) { return std::isfinite(gaa) && gaa > 0; };
    if (!isAboveZero(state.GAAV) || !isAboveZero(state.GAAH)) {
        return "You must enter a value above 0";
    }
    return std::nullopt;
}

} // namespace

FaceOffOutcome runFaceOff(PredictionState& state, WindowServices& window,
                          const FaceOffSetup& setup) {
    window.beep();
    if (const auto refusal = refusalOfInputs(state, window)) {
        window.showMessage(*refusal);
        return FaceOffOutcome::Refused;
    }

    // An error ends the run where it happens: what the log holds stays, and the averages
    // and the money line keep the previous prediction's values.
    try {
        LoadTeamRatings(state);
        ReadRosters(state, state.VISITOR, state.HOME, setup.rosterFolder);
        state.match = 1;
        window.clearLog();
        Gameplay(state, window, setup.draws, setup.seeds);
    } catch (const ZelkorError& error) {
        window.showMessage(error.what());
        return FaceOffOutcome::Failed;
    } catch (const std::bad_alloc&) {
        window.showMessage("Not enough memory to finish the prediction.");
        return FaceOffOutcome::Failed;
    } catch (const std::exception& error) {
        window.showMessage(std::string("The prediction failed: ") + error.what());
        return FaceOffOutcome::Failed;
    }
    return FaceOffOutcome::Completed;
}

} // namespace zelkor
