#include "cli/ConsoleOdds.h"

#include "cli/ExitStatus.h"
#include "cli/InterruptWatch.h"
#include "cli/OddsReport.h"
#include "cli/ProgressBar.h"
#include "cli/ReportOutput.h"
#include "core/DisplayText.h"
#include "odds/ManySeries.h"
#include "simulation/RandomSource.h"

#include <exception>
#include <new>
#include <ostream>
#include <sstream>

namespace zelkor {

namespace {

ManySeriesRequest requestFor(const CommandLineOptions& options, std::uint64_t baseSeed) {
    ManySeriesRequest request;
    request.visitor = options.visitor;
    request.home = options.home;
    request.visitorGaa = options.visitorGaa;
    request.homeGaa = options.homeGaa;
    request.rosterFolder = options.rosterFolder;
    request.series = *options.series;
    request.baseSeed = baseSeed;
    request.threads = options.threads;
    request.ratings = options.ratings;
    request.shootout = options.shootouts.on;
    request.shootoutVisitorChance = options.shootouts.visitorChance(options.visitor, options.home);
    return request;
}

} // namespace

int runConsoleOdds(const CommandLineOptions& options, std::ostream& out, std::ostream& err,
                   bool errIsTerminal) {
    try {
        const std::uint64_t baseSeed = options.seed ? *options.seed : ClockSeed{}.seriesSeed();
        const ManySeriesRequest request = requestFor(options, baseSeed);
        std::stop_source stop;
        const InterruptWatch watch;
        ProgressBar bar(err, errIsTerminal);
        const auto progress = [&](const OddsTally& soFar) {
            if (watch.interrupted()) {
                stop.request_stop();
            }
            bar.count(soFar.series, request.series, "series");
        };
        const auto tally = playManySeries(request, stop.get_token(), progress);
        bar.clear();
        if (!tally) {
            err << "Stopped before the end: nothing reported." << std::endl;
            return ExitInterrupted;
        }

        const OddsReport report{*tally,
                                baseSeed,
                                options.offeredVisitor,
                                options.offeredHome,
                                options.ratingsSource,
                                readMarketSummary(options.rosterFolder)};
        std::ostringstream text;
        if (options.json) {
            writeOddsJson(report, text);
        } else {
            writeOddsText(report, text);
            if (!options.seed) {
                err << "Seed: " << baseSeed << std::endl;
            }
        }
        out << text.str() << std::flush;
        return reportStatus(out, err);
    } catch (const std::bad_alloc&) {
        err << "Not enough memory for the run." << std::endl;
        return ExitPredictionFailed;
    } catch (const std::exception& error) {
        err << visibleText(error.what()) << std::endl;
        return ExitPredictionFailed;
    }
}

} // namespace zelkor
