#include "cli/RatingsCommand.h"

#include "cli/ExitStatus.h"
#include "core/DisplayText.h"
#include "teamdata/RatingsFile.h"

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>

namespace zelkor {

int runRatingsCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    bool builtin = false;
    std::string file;
    CLI::App app{"Writes the built-in rating table of the 2000-01 season as a ratings file, or "
                 "checks a ratings file the way a prediction reads it.",
                 "zelkor-cli ratings"};
    CLI::Option* builtinOption =
        app.add_flag("--builtin", builtin,
                     "Write the built-in table (every value reads back as the same single)");
    app.add_option("FILE", file, "A ratings file to check")
        ->type_name("FILE")
        ->excludes(builtinOption);
    app.footer("Columns of a ratings file: " + std::string(RatingsHeader) +
               "; venue is road or home, one row per code and venue.");
    try {
        app.parse(argc, argv);
        if (!builtin && file.empty()) {
            throw CLI::RequiredError("--builtin or FILE");
        }
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? ExitSuccess : ExitUsageError;
    }

    try {
        if (builtin) {
            out << ratingsFileText(*RatingTable::builtin()) << std::flush;
        } else {
            const RatingTable table = readRatingsFile(file);
            out << visibleText(file) << ": " << table.road().size() << " road rows, "
                << table.home().size() << " home rows: usable\n"
                << std::flush;
        }
        if (!out) {
            err << "Cannot write the report to standard output." << std::endl;
            return ExitPredictionFailed;
        }
        return ExitSuccess;
    } catch (const std::exception& error) {
        err << visibleText(error.what()) << std::endl;
        return ExitPredictionFailed;
    }
}

} // namespace zelkor
