#include "cli/ConsolePrediction.h"

#include "cli/ConsoleWindow.h"
#include "cli/ExitStatus.h"
#include "cli/Report.h"
#include "cli/ReportOutput.h"
#include "core/DisplayText.h"
#include "engine/Predictor.h"
#include "simulation/RandomSource.h"
#include "simulation/SeriesSummary.h"

#include <exception>
#include <memory>
#include <ostream>
#include <sstream>

namespace zelkor {

namespace {

std::unique_ptr<SeedSource> seedSourceFor(const CommandLineOptions& options) {
    if (options.seed) {
        return std::make_unique<FixedSeed>(*options.seed);
    }
    return nullptr; // the clock
}

} // namespace

int runConsolePrediction(const CommandLineOptions& options, std::ostream& out, std::ostream& err) {
    try {
        Predictor predictor(options.rosterFolder, seedSourceFor(options), options.ratings);
        predictor.useShootouts(options.shootouts);
        PredictionState& state = predictor.state();
        state.VISITOR = options.visitor;
        state.HOME = options.home;
        state.GAAV = options.visitorGaa.value;
        state.GAAH = options.homeGaa.value;

        ConsoleWindow window(options.visitorGaa.text, options.homeGaa.text, err);
        if (predictor.faceOff(window).outcome != FaceOffOutcome::Completed) {
            // Every refusal and error should have been shown; never end silently with 1.
            if (window.messagesShown() == 0) {
                err << "The prediction did not complete." << std::endl;
            }
            return ExitPredictionFailed;
        }

        // Written in full before anything reaches out, so a failure leaves stdout empty.
        SeriesReport report =
            collectReport(state, summarizeSeries(state), window, predictor.lastSeed());
        report.ratings = options.ratingsSource;
        std::ostringstream text;
        if (options.json) {
            writeJsonReport(report, text);
        } else {
            writeTextReport(report, text);
            if (report.seed) {
                err << "Seed: " << *report.seed << std::endl;
            }
        }
        out << text.str() << std::flush;
        return reportStatus(out, err);
    } catch (const std::exception& error) {
        err << visibleText(error.what()) << std::endl;
        return ExitPredictionFailed;
    }
}

} // namespace zelkor
