// Feeds arbitrary bytes to the roster reader as two roster files, and pieces of them to the
// numeric value of an item. Either may only return values or raise the engine's own
// errors; anything else (another exception, a crash, a sanitizer report, a value that
// breaks the checks below) is a finding.

#include "FuzzSupport.h"
#include "core/Errors.h"
#include "teamdata/RosterItemReader.h"
#include "teamdata/RosterReader.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace {

using zelkor::fuzzing::finding;
using zelkor::fuzzing::ScratchFolder;

namespace fs = std::filesystem;

// Splits an input into the visiting team's file and the home team's; an input without it
// is one file read for both teams.
constexpr char FileSeparator = '\x1e';

// The characters a decimal number can be made of, for the reference conversion.
constexpr std::string_view NumberCharacters = "0123456789+-.eE";

void requireCount(float value, const char* name) {
    if (!std::isfinite(value) || value < 0) {
        finding(std::string(name) + " is not a finite count of at least 0");
    }
}

// What a successful read promises: finite, non-negative values and assists above 0.
void checkAggregates(const zelkor::PredictionState& state) {
    for (int player = 1; player <= zelkor::PlayersPerTeam; ++player) {
        requireCount(state.GOALX[player], "GOALX");
        requireCount(state.GOALY[player], "GOALY");
        requireCount(state.Assistx[player], "Assistx");
        requireCount(state.Assisty[player], "Assisty");
        requireCount(state.Gamex[player], "Gamex");
        requireCount(state.Gamey[player], "Gamey");
    }
    requireCount(state.GoalSumx, "GoalSumx");
    requireCount(state.GoalSumy, "GoalSumy");
    requireCount(state.Ratiox, "Ratiox");
    requireCount(state.Ratioy, "Ratioy");
    if (!(state.AssistSumx > 0 && state.AssistSumy > 0)) {
        finding("a read succeeded with assists adding up to 0");
    }
}

void fuzzRosters(std::string_view input) {
    static const ScratchFolder folder("zelkor-fuzz-");
    const auto split = input.find(FileSeparator);
    folder.write("VIS", input.substr(0, split));
    std::string homeCode = "VIS";
    if (split != std::string_view::npos) {
        homeCode = "HOM";
        folder.write(homeCode, input.substr(split + 1));
    }
    zelkor::PredictionState state;
    try {
        zelkor::ReadRosters(state, "VIS", homeCode, folder.path());
    } catch (const zelkor::ZelkorError&) {
        return;
    }
    checkAggregates(state);
}

// The C library's correctly rounded strtof on the same number, as a second opinion.
void compareWithStrtof(std::string_view item) {
    std::string compact;
    for (const char c : item) {
        if (c != ' ' && c != '\t' && c != '\n') {
            compact.push_back(c);
        }
    }
    // Cut before anything strtof would read but the item's number does not (hex, inf).
    compact.resize(std::min(compact.find_first_not_of(NumberCharacters), compact.size()));
    errno = 0;
    const float expected = std::strtof(compact.c_str(), nullptr);
    const bool tooLarge = errno == ERANGE && std::isinf(expected);
    try {
        const float actual = zelkor::itemValue(item);
        if (tooLarge) {
            finding("'" + compact + "' is beyond a single but gave " + std::to_string(actual));
        }
        if (std::bit_cast<std::uint32_t>(actual) != std::bit_cast<std::uint32_t>(expected)) {
            finding("'" + compact + "' gave " + std::to_string(actual) + ", strtof " +
                    std::to_string(expected));
        }
    } catch (const zelkor::OverflowError&) {
        if (!tooLarge) {
            finding("'" + compact + "' raised an overflow that strtof does not see");
        }
    }
}

// Every item of the input, as the reader splits it, and the whole input as one item.
void fuzzItemValues(std::string_view input) {
    std::stringbuf source{std::string(input)};
    zelkor::RosterItemReader reader(source);
    std::string item;
    std::size_t items = 0;
    while (reader.readItem(item) == zelkor::ItemRead::Item) {
        if (++items > input.size() + 1) {
            finding("more items than characters");
        }
        compareWithStrtof(item);
    }
    compareWithStrtof(input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    fuzzRosters(input);
    fuzzItemValues(input);
    return 0;
}
