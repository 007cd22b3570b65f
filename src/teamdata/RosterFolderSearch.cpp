#include "teamdata/RosterFolderSearch.h"

#include <cstdlib>
#include <random>
#include <system_error>

namespace zelkor {

namespace {

namespace fs = std::filesystem;

// Where the install rules put the sample rosters, relative to the programs' folder.
constexpr const char* SamplesFromProgramFolder = ZELKOR_SAMPLES_FROM_BIN;

// The user's folder below the XDG data folder, and that folder below the home folder.
constexpr const char* RostersBelowDataHome = "zelkor/rosters";
constexpr const char* DataHomeBelowHome = ".local/share";

fs::path environmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? fs::path{} : fs::path(value);
}

std::string quoted(const fs::path& folder) {
    return "'" + folder.string() + "'";
}

// A name beside the user's folder that no other program run picks at the same time.
fs::path stagingFolderFor(const fs::path& folder) {
    std::random_device entropy;
    const unsigned long long suffix =
        (static_cast<unsigned long long>(entropy()) << 32) ^ entropy();
    return folder.parent_path() /
           ("." + folder.filename().string() + "-new-" + std::to_string(suffix));
}

// Makes folder and fills it with copies of the samples. The copies are made in a staging
// folder that is then renamed, so the user's folder never appears half filled. Should
// another run have made the folder meanwhile, its files are kept as they are: rename does
// not replace a folder that holds anything.
void makeUserFolder(const fs::path& folder, const fs::path& samples) {
    fs::create_directories(folder.parent_path());
    const fs::path staging = stagingFolderFor(folder);
    if (!fs::create_directory(staging)) {
        throw fs::filesystem_error("staging folder taken", staging,
                                   std::make_error_code(std::errc::file_exists));
    }
    try {
        for (const fs::directory_entry& sample : fs::directory_iterator(samples)) {
            if (sample.is_regular_file()) {
                fs::copy_file(sample.path(), staging / sample.path().filename());
            }
        }
        std::error_code renamed;
        fs::rename(staging, folder, renamed);
        if (renamed) {
            if (!fs::is_directory(folder)) {
                throw fs::filesystem_error("cannot rename the copies", staging, folder, renamed);
            }
            fs::remove_all(staging);
        }
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        throw;
    }
}

RosterFolderChoice samplesInstead(const fs::path& samples, const std::string& reason) {
    return {samples, reason + " The rosters are read from the installed samples in " +
                         quoted(samples) + "."};
}

} // namespace

RosterSources rosterSourcesOfProcess(fs::path given) {
    RosterSources sources;
    sources.given = std::move(given);
    sources.environment = environmentPath("ZELKOR_ROSTERS");
    sources.dataHome = environmentPath("XDG_DATA_HOME");
    sources.home = environmentPath("HOME");
    std::error_code unknown;
    sources.executable = fs::read_symlink("/proc/self/exe", unknown);
    return sources;
}

fs::path installedSamplesFolder(const fs::path& executable) {
    if (executable.empty()) {
        return {};
    }
    return (executable.parent_path() / SamplesFromProgramFolder).lexically_normal();
}

fs::path userRosterFolder(const RosterSources& sources) {
    // Relative XDG folders are to be ignored, as if the variable were not set.
    if (sources.dataHome.is_absolute()) {
        return sources.dataHome / RostersBelowDataHome;
    }
    if (!sources.home.empty()) {
        return sources.home / DataHomeBelowHome / RostersBelowDataHome;
    }
    return {};
}

RosterFolderChoice chooseRosterFolder(const RosterSources& sources) {
    if (!sources.given.empty()) {
        return {sources.given, {}};
    }
    if (!sources.environment.empty()) {
        return {sources.environment, {}};
    }
    const fs::path samples = installedSamplesFolder(sources.executable);
    std::error_code notThere;
    if (samples.empty() || !fs::is_directory(samples, notThere)) {
        return {".", {}};
    }

    const fs::path own = userRosterFolder(sources);
    if (own.empty()) {
        return samplesInstead(samples, "Neither XDG_DATA_HOME nor HOME is set, so there is no "
                                       "roster folder of your own.");
    }
    std::error_code unknown;
    const fs::file_status status = fs::status(own, unknown);
    if (fs::is_directory(status)) {
        return {own, {}};
    }
    if (fs::exists(status)) {
        return samplesInstead(samples, "Your roster folder " + quoted(own) + " is not a folder.");
    }
    try {
        makeUserFolder(own, samples);
    } catch (const std::system_error& error) {
        return samplesInstead(samples, "Your roster folder " + quoted(own) +
                                           " could not be made (" + error.code().message() + ").");
    }
    return {own, "Your roster folder " + quoted(own) +
                     " was made with copies of the sample rosters; edit the files there."};
}

} // namespace zelkor
