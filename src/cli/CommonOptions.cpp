#include "cli/CommonOptions.h"

#include "core/DisplayText.h"
#include "engine/InputChecks.h"
#include "season/FitGames.h"
#include "teamdata/RosterWriter.h"

#include <charconv>
#include <sstream>
#include <system_error>

namespace zelkor {

namespace {

// Calibration beyond these would run for days without making the fit any better.
constexpr int MostCalibrationSeries = 1000;
constexpr int MostCalibrationRounds = 20;

// CLI11 validators report a non-empty string as the reason for refusing a value.
CLI::Validator seedNumber() {
    return CLI::Validator(
        [](std::string& text) {
            return parseSeed(text)
                       ? std::string{}
                       : "'" + quotedText(text) + "' is not an unsigned 64-bit decimal number";
        },
        "", "SEED");
}

// A default as the help shows it: 2.8, 20.
template <typename Number> std::string defaultText(Number value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

} // namespace

CLI::Validator decimalCount() {
    return CLI::Validator(
        [](std::string& text) {
            return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos
                       ? std::string{}
                       : "'" + quotedText(text) + "' is not a whole number in decimal digits";
        },
        "", "");
}

std::optional<std::uint64_t> parseSeed(std::string_view text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

CLI::Validator gaaNumber() {
    return CLI::Validator(
        [](std::string& text) {
            const GaaReading reading = readGaa(text);
            return reading.problem == GaaProblem::None ? std::string{}
                                                       : gaaProblemText(reading.problem, text);
        },
        "", "GAA");
}

namespace {

template <typename Target>
CLI::Option* addCodesOptionTo(CLI::App& app, Target& codes, const std::string& help) {
    return app
        .add_option_function<std::string>(
            "--codes",
            [&codes](const std::string& text) {
                codes = text == "league" ? TeamCodeKind::League : TeamCodeKind::Program;
            },
            help)
        // Exact words: a spelling the check let pass would otherwise be read as the other kind.
        ->check(CLI::IsMember({"program", "league"}))
        ->type_name("program|league");
}

} // namespace

CLI::Option* addCodesOption(CLI::App& app, TeamCodeKind& codes, const std::string& help) {
    return addCodesOptionTo(app, codes, help);
}

CLI::Option* addCodesOption(CLI::App& app, std::optional<TeamCodeKind>& codes,
                            const std::string& help) {
    return addCodesOptionTo(app, codes, help);
}

CLI::Option* addSeedOption(CLI::App& app, std::optional<std::uint64_t>& seed,
                           const std::string& help) {
    return app
        .add_option_function<std::string>(
            "--seed", [&seed](const std::string& text) { seed = parseSeed(text); }, help)
        ->check(seedNumber())
        ->type_name("UINT64");
}

CLI::Option* addDateOption(CLI::App& app, const std::string& name, std::string& date,
                           const std::string& help) {
    return app.add_option(name, date, help)
        ->check(CLI::Validator(
            [](std::string& text) { return beforeDateProblem(text).value_or(std::string{}); }, "",
            ""))
        ->type_name("YYYY-MM-DD");
}

CLI::Option* addDefaultGaaOption(CLI::App& app, double& gaa, const std::string& help) {
    return app
        .add_option_function<std::string>(
            "--default-gaa",
            [&gaa](const std::string& text) {
                // The check read it already; read as a double, 2.8 stays 2.8 in a report.
                std::from_chars(text.data(), text.data() + text.size(), gaa);
            },
            help + " (default " + defaultText(DefaultGaa) + ")")
        ->check(gaaNumber())
        ->type_name("NUMBER");
}

CLI::Option* addPriorOption(CLI::App& app, std::optional<std::string>& prior,
                            const std::string& help) {
    return app.add_option("--prior", prior, help)->type_name("FILE");
}

CLI::Option* addCalibrationSeriesOption(CLI::App& app, int& series, const std::string& help,
                                        const std::string& olderName) {
    const std::string names = "--calibration-series" + (olderName.empty() ? "" : "," + olderName);
    return addCountOption(app, names, series, 1, MostCalibrationSeries,
                          help + " (default " + defaultText(CalibrationSeries) + ")");
}

CLI::Option* addCalibrationRoundsOption(CLI::App& app, int& rounds, const std::string& help) {
    return addCountOption(app, "--calibration-rounds", rounds, 0, MostCalibrationRounds,
                          help + " (default " + defaultText(CalibrationRounds) + ")");
}

std::string forceHint(std::string_view message) {
    if (message.find(ExistingTargetWords) == std::string_view::npos) {
        return {};
    }
    return "\nAdd --force to replace the existing files (each old one is kept as NAME.bak).";
}

} // namespace zelkor
