#include "odds/ManySeries.h"

#include "engine/InputChecks.h"
#include "simulation/GameLoop.h"
#include "simulation/RandomSource.h"
#include "simulation/SeriesSummary.h"
#include "teamdata/RosterCheckHint.h"
#include "teamdata/RosterReader.h"
#include "teamdata/TeamRatings.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <limits>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace zelkor {

namespace {

// Series a thread plays before it adds them to the run's counts: a few milliseconds.
constexpr std::uint64_t ChunkSeries = 256;
// How often the progress is reported.
constexpr std::chrono::milliseconds ProgressInterval{100};
constexpr std::uint64_t NoFailure = std::numeric_limits<std::uint64_t>::max();

const RatingTable& ratingsOf(const ManySeriesRequest& request) {
    return request.ratings ? *request.ratings : *RatingTable::builtin();
}

// A state holding the request's teams and GAA values, as the face-off checks them.
PredictionState inputState(const ManySeriesRequest& request) {
    PredictionState state;
    state.VISITOR = request.visitor;
    state.HOME = request.home;
    state.GAAV = request.visitorGaa.value;
    state.GAAH = request.homeGaa.value;
    state.shootout = request.shootout;
    state.shootoutVisitorChance = request.shootoutVisitorChance;
    return state;
}

// The state every series starts from: inputs checked, ratings and rosters read.
PredictionState preparedState(const ManySeriesRequest& request) {
    PredictionState state = inputState(request);
    if (const auto refusal = requestRefusal(request)) {
        throw InputRefusedError(*refusal);
    }
    LoadTeamRatings(state, ratingsOf(request));
    try {
        ReadRosters(state, state.VISITOR, state.HOME, request.rosterFolder);
    } catch (const ZelkorError& error) {
        throw RosterUnusableError(std::string(error.what()) + " " +
                                  rosterCheckHint(request.rosterFolder));
    }
    state.match = 1;
    return state;
}

OddsTally emptyTally(const PredictionState& state) {
    OddsTally tally;
    tally.visitor = state.VISITOR;
    tally.home = state.HOME;
    for (int row = 1; row <= PlayersPerTeam; ++row) {
        tally.visitorPlayers[static_cast<std::size_t>(row - 1)].name =
            state.RosterX.at(row, NameColumn);
        tally.homePlayers[static_cast<std::size_t>(row - 1)].name =
            state.RosterY.at(row, NameColumn);
    }
    return tally;
}

// What the threads of one run share.
class Run {
public:
    Run(const ManySeriesRequest& request, std::stop_token stop)
        : request_(request), stop_(std::move(stop)), prepared_(preparedState(request)),
          total_(emptyTally(prepared_)) {}

    // Plays chunks of series until none is left, the run failed below them or was stopped.
    // Nothing may escape a thread: that would end the program.
    void work() {
        try {
            playChunks();
        } catch (...) { // no memory for the thread's own copies: the run cannot go on
            recordFailure(0, std::current_exception());
            finish();
        }
    }

    // Starts the workers on threads, as many as asked and the system allows; each start
    // checks for a stop and reports progress, so that a slow start can be cancelled too.
    // Throws when not even one thread starts.
    unsigned startWorkers(std::vector<std::jthread>& workers, unsigned threads,
                          const ManySeriesProgress& progress) {
        auto lastReport = std::chrono::steady_clock::now();
        for (unsigned thread = 0; thread < threads && !stop_.stop_requested(); ++thread) {
            try {
                workers.emplace_back([this] { work(); });
            } catch (const std::system_error& error) {
                if (workers.empty()) {
                    throw SeriesFailedError(std::string("No thread could be started for the "
                                                        "series: ") +
                                            error.what() + ".");
                }
                break; // fewer threads play the same series
            }
            if (progress && std::chrono::steady_clock::now() - lastReport >= ProgressInterval) {
                progress(snapshot());
                lastReport = std::chrono::steady_clock::now();
            }
        }
        return static_cast<unsigned>(workers.size());
    }

private:
    OddsTally snapshot() {
        const std::lock_guard lock(mutex_);
        return total_;
    }

    void playChunks() {
        PredictionState state = prepared_;
        Xoshiro256StarStar draws;
        SeriesOutcome outcome;
        RateCache rates; // the inputs are the same for every series of the run
        const OddsTally empty = emptyTally(prepared_);
        OddsTally chunk = empty;
        for (;;) {
            const std::uint64_t first = nextSeries_.fetch_add(ChunkSeries);
            if (first >= request_.series || first > firstFailure_.load()) {
                break;
            }
            const std::uint64_t end = std::min(first + ChunkSeries, request_.series);
            for (std::uint64_t index = first; index < end; ++index) {
                if (stop_.stop_requested()) {
                    return finish();
                }
                try {
                    FixedSeed seed(seriesSeed(request_.baseSeed, index));
                    playQuietSeries(state, draws, seed, outcome, rates);
                    chunk.addSeries(outcome, summarizeSeries(state));
                } catch (...) {
                    recordFailure(index, std::current_exception());
                    return finish();
                }
            }
            try {
                addChunk(chunk);
                chunk = empty;
            } catch (...) { // out of memory: the run cannot go on
                recordFailure(first, std::current_exception());
                return finish();
            }
        }
        finish();
    }

public:
    // Waits for the threads, reporting progress meanwhile.
    void waitReporting(const ManySeriesProgress& progress, unsigned threads) {
        std::unique_lock lock(mutex_);
        while (finishedThreads_ < threads) {
            changed_.wait_for(lock, ProgressInterval);
            if (progress && finishedThreads_ < threads && !stop_.stop_requested()) {
                const OddsTally soFar = total_;
                lock.unlock();
                progress(soFar);
                lock.lock();
            }
        }
    }

    bool stopped() const { return stop_.stop_requested(); }

    // The counts, or the error of the lowest-numbered failing series.
    OddsTally result() {
        if (failure_) {
            try {
                std::rethrow_exception(failure_);
            } catch (const ZelkorError& error) {
                const std::uint64_t index = firstFailure_.load();
                // Values of the rosters that the series cannot compute with.
                throw SeriesFailedError("Series " + std::to_string(index + 1) + " of " +
                                        std::to_string(request_.series) + " (seed " +
                                        std::to_string(seriesSeed(request_.baseSeed, index)) +
                                        ") failed: " + error.what() + " " +
                                        rosterCheckHint(request_.rosterFolder));
            }
        }
        return total_;
    }

private:
    void addChunk(const OddsTally& chunk) {
        const std::lock_guard lock(mutex_);
        total_.add(chunk);
    }

    void recordFailure(std::uint64_t index, std::exception_ptr error) {
        const std::lock_guard lock(mutex_);
        if (index < firstFailure_.load()) {
            firstFailure_.store(index);
            failure_ = std::move(error);
        }
    }

    void finish() {
        {
            const std::lock_guard lock(mutex_);
            ++finishedThreads_;
        }
        changed_.notify_all();
    }

    const ManySeriesRequest& request_;
    std::stop_token stop_;
    const PredictionState prepared_;

    std::atomic<std::uint64_t> nextSeries_{0};
    std::atomic<std::uint64_t> firstFailure_{NoFailure};

    std::mutex mutex_; // guards what follows
    std::condition_variable changed_;
    OddsTally total_;
    std::exception_ptr failure_;
    unsigned finishedThreads_ = 0;
};

unsigned threadCount(const ManySeriesRequest& request) {
    const unsigned cores = std::max(1U, std::thread::hardware_concurrency());
    const unsigned asked = request.threads == 0 ? cores : std::min(request.threads, MostThreads);
    const std::uint64_t chunks = (request.series + ChunkSeries - 1) / ChunkSeries;
    return static_cast<unsigned>(
        std::max<std::uint64_t>(1, std::min<std::uint64_t>(asked, chunks)));
}

} // namespace

std::optional<InputRefusal> requestRefusal(const ManySeriesRequest& request) {
    return faceOffRefusal(inputState(request), request.visitorGaa.text, request.homeGaa.text,
                          ratingsOf(request));
}

std::uint64_t seriesSeed(std::uint64_t baseSeed, std::uint64_t index) {
    return splitMix64Output(baseSeed, index);
}

std::optional<OddsTally> playManySeries(const ManySeriesRequest& request, std::stop_token stop,
                                        const ManySeriesProgress& progress) {
    Run run(request, std::move(stop));
    {
        std::vector<std::jthread> workers;
        workers.reserve(threadCount(request));
        const unsigned started = run.startWorkers(workers, threadCount(request), progress);
        run.waitReporting(progress, started);
    }
    if (run.stopped()) {
        return std::nullopt;
    }
    return run.result();
}

} // namespace zelkor
