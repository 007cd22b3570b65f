#include "engine/FaceOffRun.h"

#include "core/Errors.h"
#include "engine/InputChecks.h"
#include "simulation/GameLoop.h"
#include "teamdata/RatingsFile.h"
#include "teamdata/RosterCheckHint.h"
#include "teamdata/RosterReader.h"

#include <new>
#include <string>
#include <utility>

namespace zelkor {

namespace {

// What in the table the teams of the state cannot be played with, if anything.
std::optional<std::string> unplayableRatings(const PredictionState& state,
                                             const RatingTable& table) {
    for (const auto& [code, atHome] :
         {std::pair{state.VISITOR, false}, std::pair{state.HOME, true}}) {
        const TeamRating* rating = atHome ? table.homeRating(code) : table.roadRating(code);
        if (rating != nullptr) {
            if (const auto problem = unplayableRating(*rating)) {
                return "The rating table cannot be played: " + code + "'s " +
                       (atHome ? "home" : "road") + " " + *problem + ".";
            }
        }
    }
    return std::nullopt;
}

} // namespace

FaceOffResult runFaceOff(PredictionState& state, WindowServices& window,
                         const FaceOffSetup& setup) {
    window.beep();
    if (auto refusal =
            faceOffRefusal(state, window.visitorGaaText(), window.homeGaaText(), setup.ratings)) {
        window.showMessage(refusal->message);
        return {FaceOffOutcome::Refused, std::move(refusal)};
    }

    // An error ends the run where it happens: what the log holds stays, and the averages
    // and the money line keep the previous prediction's values.
    bool rostersRead = false;
    try {
        LoadTeamRatings(state, setup.ratings);
        ReadRosters(state, state.VISITOR, state.HOME, setup.rosterFolder);
        rostersRead = true;
        state.match = 1;
        window.clearLog();
        Gameplay(state, window, setup.draws, setup.seeds);
    } catch (const ZelkorError& error) {
        // A rating the series cannot play is the table's fault, not the rosters'.
        if (const auto problem = unplayableRatings(state, setup.ratings)) {
            window.showMessage(std::string(error.what()) + "\r\n" + *problem);
            return {FaceOffOutcome::Failed, std::nullopt};
        }
        // A roster that cannot be read, or whose values the series cannot compute with.
        const bool fromRoster = !rostersRead || dynamic_cast<const ArithmeticError*>(&error);
        window.showMessage(fromRoster ? std::string(error.what()) + "\r\n" +
                                            rosterCheckHint(setup.rosterFolder)
                                      : std::string(error.what()));
        return {FaceOffOutcome::Failed, std::nullopt};
    } catch (const std::bad_alloc&) {
        window.showMessage("Not enough memory to finish the prediction.");
        return {FaceOffOutcome::Failed, std::nullopt};
    } catch (const std::exception& error) {
        window.showMessage(std::string("The prediction failed: ") + error.what());
        return {FaceOffOutcome::Failed, std::nullopt};
    }
    return {FaceOffOutcome::Completed, std::nullopt};
}

} // namespace zelkor
