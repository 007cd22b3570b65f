#include "teamdata/RosterFindings.h"

#include "core/DisplayText.h"
#include "core/Errors.h"
#include "core/PredictionState.h"
#include "teamdata/ItemValue.h"
#include "teamdata/RosterFile.h"
#include "teamdata/RosterReader.h"
#include "teamdata/TeamTotals.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <utility>

namespace zelkor {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void raise(const RosterFinding& finding) {
    switch (finding.kind) {
    case FindingKind::Missing:
        throw RosterFileMissingError(finding.message);
    case FindingKind::Read:
        throw RosterFileReadError(finding.message);
    case FindingKind::Short:
        throw RosterFileShortError(finding.message);
    case FindingKind::Overflow:
        throw OverflowError(finding.message);
    case FindingKind::Arithmetic:
        throw ArithmeticError(finding.message);
    case FindingKind::Data:
    case FindingKind::ScoringRate:
        break;
    }
    throw RosterDataError(finding.message);
}

// A name with an unquoted comma gives its line a fifth field, and every later field moves
// on by one: the first item that leaves the one-line-of-four layout, if any.
std::optional<std::size_t> firstMisplacedItem(const std::vector<bool>& startsLine) {
    for (std::size_t index = 1; index < startsLine.size(); ++index) {
        if ((index % RosterColumns == 0) != startsLine[index]) {
            return index;
        }
    }
    return std::nullopt;
}

NumberForm formOf(const RosterTable& table, std::size_t index) {
    const auto player = static_cast<int>(index / RosterColumns) + 1;
    const auto column = static_cast<int>(index % RosterColumns) + 1;
    return itemNumber(table.at(player, column)).form;
}

// Whether items from one on look shifted: a name that is a number, a count that is text.
bool looksShifted(const RosterTable& table, std::size_t from) {
    for (std::size_t index = from; index < static_cast<std::size_t>(RosterItems); ++index) {
        const NumberForm form = formOf(table, index);
        if ((index % RosterColumns == 0) == (form == NumberForm::Whole) ||
            form == NumberForm::Leading) {
            return true;
        }
    }
    return false;
}

// Where the layout of four fields a line ends, in words; returns the index of the first
// item past it (RosterItems when there is none).
std::size_t checkLayout(const RosterTable& table, const RosterFile& file,
                        RosterFindings& findings) {
    const std::optional<std::size_t> misplaced = firstMisplacedItem(file.itemsStartingLines());
    if (!misplaced) {
        return RosterItems;
    }
    const int line = file.itemLines()[*misplaced - 1];
    const int player = static_cast<int>((*misplaced - 1) / RosterColumns) + 1;
    const auto fields = static_cast<int>(*misplaced % RosterColumns);
    if (!looksShifted(table, *misplaced)) {
        findings.add({FindingSeverity::Note,
                      FindingKind::Data,
                      line,
                      player,
                      0,
                      "the players do not stand one to a line from here on; the prediction "
                      "counts fields, not lines",
                      {}});
        return RosterItems;
    }
    const std::string counted =
        fields == 0 ? "more than 4 fields"
                    : "only " + std::to_string(fields) + (fields == 1 ? " field" : " fields");
    findings.add({FindingSeverity::Warning,
                  FindingKind::Data,
                  line,
                  player,
                  0,
                  "the line has " + counted +
                      ", so every later field has shifted (a name that contains a comma must "
                      "be in double quotes)",
                  {}});
    return *misplaced;
}

} // namespace

void RosterFindings::add(RosterFinding finding) {
    if (mode_ == Mode::ThrowFirstError && finding.severity == FindingSeverity::Error &&
        finding.kind != FindingKind::ScoringRate) {
        raise(finding);
    }
    findings_.push_back(std::move(finding));
}

bool RosterFindings::hasError() const {
    return std::any_of(findings_.begin(), findings_.end(), [](const RosterFinding& finding) {
        return finding.severity == FindingSeverity::Error;
    });
}

std::vector<RosterFinding> diagnoseRosterFile(const std::string& code, const fs::path& folder) {
    RosterFindings findings(RosterFindings::Mode::ListAll);
    // On the heap: clang 14, which builds the fuzz targets, crashes on this table as a local.
    const auto tableHolder = std::make_unique<RosterTable>();
    RosterTable& table = *tableHolder;
    RosterFile file(code, folder, findings);
    for (int item = 0; item < RosterItems; ++item) {
        const int player = item / RosterColumns + 1;
        const int column = item % RosterColumns + 1;
        if (!file.readInto(table.at(player, column), player, column)) {
            return findings.all();
        }
    }
    checkTeamCounts(table, code, file.itemLines(), findings);
    const std::size_t unshifted = checkLayout(table, file, findings);
    // Past a shift, every count that is text says the same again, and the first count the
    // scoring rates fail on stands for the rest.
    bool rateFailureShown = false;
    std::erase_if(findings.all(), [&](const RosterFinding& finding) {
        const auto index =
            static_cast<std::size_t>((finding.player - 1) * RosterColumns + finding.column - 1);
        if (finding.column == 0 || index < unshifted) {
            return false;
        }
        if (finding.kind == FindingKind::ScoringRate) {
            return std::exchange(rateFailureShown, true);
        }
        return finding.severity == FindingSeverity::Warning;
    });
    for (std::size_t index = 0; index < unshifted; index += RosterColumns) {
        if (formOf(table, index) == NumberForm::Whole) {
            const int player = static_cast<int>(index / RosterColumns) + 1;
            findings.add({FindingSeverity::Note,
                          FindingKind::Data,
                          file.itemLines()[index],
                          player,
                          NameColumn,
                          "the name '" + quotedText(table.at(player, NameColumn)) + "' is a number",
                          {}});
        }
    }
    // After a shift the end of the file says nothing more.
    const auto [first, last] = file.linesLeft();
    if (unshifted == static_cast<std::size_t>(RosterItems) && first > 0) {
        findings.add({FindingSeverity::Note,
                      FindingKind::Data,
                      first,
                      0,
                      0,
                      (first == last ? "line " + std::to_string(first) + " is"
                                     : "lines " + std::to_string(first) + " to " +
                                           std::to_string(last) + " are") +
                          " ignored: only the first 18 players are read",
                      {}});
    }
    // In the order of the file; what concerns the whole file last.
    std::stable_sort(findings.all().begin(), findings.all().end(),
                     [](const RosterFinding& a, const RosterFinding& b) {
                         return (a.line == 0 ? INT_MAX : a.line) < (b.line == 0 ? INT_MAX : b.line);
                     });
    return findings.all();
}

} // namespace zelkor
