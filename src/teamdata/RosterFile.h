#pragma once

#include "core/PredictionState.h"
#include "teamdata/RegularFileBuffer.h"
#include "teamdata/RosterFindings.h"
#include "teamdata/RosterItemReader.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zelkor {

// One open roster file, read item by item into a roster table; closed when destroyed.
// What cannot be opened or taken goes to the findings.
class RosterFile {
public:
    RosterFile(const std::string& code, const std::filesystem::path& folder,
               RosterFindings& findings);
    RosterFile(const RosterFile&) = delete;
    RosterFile& operator=(const RosterFile&) = delete;

    bool isOpen() const { return open_; }

    // Reads the next item, the given field of a player, into cell; false when the file
    // has ended or the item cannot be taken.
    bool readInto(std::string& cell, int player, int column);

    // The line each item read began on, in the order read.
    const std::vector<int>& itemLines() const { return itemLines_; }
    // Whether each item read was the first of its line.
    const std::vector<bool>& itemsStartingLines() const { return startsLine_; }

    // What is left after the items read: the first and the last line holding anything but
    // blanks, or 0 and 0.
    std::pair<int, int> linesLeft();

private:
    std::string where() const;
    void refuse(FindingKind kind, std::string words, std::string message);
    void refuseOpening();
    void refuseShort();

    std::string code_;
    std::filesystem::path folder_;
    RosterFindings& findings_;
    RegularFileBuffer buffer_;
    RosterItemReader items_;
    bool open_ = false;
    std::vector<int> itemLines_;
    std::vector<bool> startsLine_;
};

// Opens the two roster files named by the codes in rosterFolder, visiting first, and reads
// them alternately, one item at a time, into RosterX and RosterY; both are closed on every
// way out. Raises RosterFileMissingError, RosterFileShortError, RosterFileReadError or
// RosterDataError naming the file (and the row and field of an item that cannot be taken).
void readRosterTables(PredictionState& state, const std::string& visitorCode,
                      const std::string& homeCode, const std::filesystem::path& rosterFolder);

} // namespace zelkor
