#pragma once

#include "season/SeasonRatingsFit.h"
#include "season/TeamCodes.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelkor {

// The options several subcommands share, each declared here once so that every subcommand
// reads a value alike and refuses it alike, with the same words.

// A count in decimal digits alone: CLI11 by itself reads 0x10 as 16 and 0b11 as 3.
CLI::Validator decimalCount();

// A seed as an unsigned 64-bit decimal number, the whole text and nothing else.
std::optional<std::uint64_t> parseSeed(std::string_view text);

// A GAA as a prediction takes it: a number with a full stop, one the engine can play.
CLI::Validator gaaNumber();

// --codes program|league, exactly one of the two words: how a file names its teams.
CLI::Option* addCodesOption(CLI::App& app, TeamCodeKind& codes, const std::string& help);
// The same, where no --codes leaves the choice to the caller.
CLI::Option* addCodesOption(CLI::App& app, std::optional<TeamCodeKind>& codes,
                            const std::string& help);

// --seed: the base seed, in decimal.
CLI::Option* addSeedOption(CLI::App& app, std::optional<std::uint64_t>& seed,
                           const std::string& help);

// A count option from least to most, in decimal digits.
template <typename Count, typename Bound>
CLI::Option* addCountOption(CLI::App& app, const std::string& name, Count& count, Bound least,
                            Bound most, const std::string& help) {
    return app.add_option(name, count, help)
        ->check(decimalCount())
        ->check(CLI::Range(least, most))
        ->type_name("N");
}

// A day of the calendar written YYYY-MM-DD, refused otherwise as the fit refuses it.
CLI::Option* addDateOption(CLI::App& app, const std::string& name, std::string& date,
                           const std::string& help);

// --default-gaa: a goalie's average where the results give none, checked as a prediction
// checks its GAA. The help gets the default, DefaultGaa.
CLI::Option* addDefaultGaaOption(CLI::App& app, double& gaa, const std::string& help);

// --prior FILE: the ratings a fit starts from and shrinks toward, its one name in every
// subcommand.
CLI::Option* addPriorOption(CLI::App& app, std::optional<std::string>& prior,
                            const std::string& help);

// --calibration-series and --calibration-rounds: how long the simulations that correct and
// check a fit play; the help gets the defaults, CalibrationSeries and CalibrationRounds. olderName
// is a name a subcommand used before, kept so that stored scripts keep working.
CLI::Option* addCalibrationSeriesOption(CLI::App& app, int& series, const std::string& help,
                                        const std::string& olderName = {});
CLI::Option* addCalibrationRoundsOption(CLI::App& app, int& rounds, const std::string& help);

// The line a refusal gets when it says a file exists already: the library speaks of
// replacing, the command line names --force. Empty for any other message.
std::string forceHint(std::string_view message);

} // namespace zelkor
