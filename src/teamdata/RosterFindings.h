#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zelkor {

enum class FindingSeverity {
    Error,   ///< the prediction refuses the file or fails on it
    Warning, ///< the prediction runs, but not on what the file seems to say
    Note,    ///< worth knowing; changes nothing
};

// Which error a prediction raises for an error finding. The reading takes a ScoringRate
// one; the scoring rates of the first minute then fail on it with their own words.
enum class FindingKind { Missing, Read, Short, Data, Overflow, Arithmetic, ScoringRate };

// One thing a roster file's reading found, where it is.
struct RosterFinding {
    FindingSeverity severity = FindingSeverity::Error;
    FindingKind kind = FindingKind::Data;
    int line = 0;        ///< line of the file, 0 for the whole file
    int player = 0;      ///< player row 1 to 18, 0 for none
    int column = 0;      ///< NameColumn to AssistsColumn, 0 for none
    std::string words;   ///< what is wrong, for a list that names the file, line and field
    std::string message; ///< the same as the prediction's error says it, in full
};

// Where the reading of a roster file puts what it finds. A prediction's reading throws the
// first error; a check lists every finding and reads on wherever the reading can.
class RosterFindings {
public:
    enum class Mode { ThrowFirstError, ListAll };
    explicit RosterFindings(Mode mode) : mode_(mode) {}

    // Warnings and notes cost a prediction nothing: it asks before making them.
    bool listing() const { return mode_ == Mode::ListAll; }
    void add(RosterFinding finding);
    bool hasError() const;
    const std::vector<RosterFinding>& all() const { return findings_; }
    std::vector<RosterFinding>& all() { return findings_; }

private:
    Mode mode_;
    std::vector<RosterFinding> findings_;
};

// The findings of one roster file, read alone as a prediction reads it, with the warnings
// and notes a reader of the file wants: values that are not numbers, fields shifted by a
// name with a comma, lines after the 18th player. The file is code in folder.
std::vector<RosterFinding> diagnoseRosterFile(const std::string& code,
                                              const std::filesystem::path& folder);

} // namespace zelkor
