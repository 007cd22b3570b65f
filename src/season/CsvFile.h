#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// One record of a CSV file: its fields without quotes, and the line it starts on.
struct CsvRow {
    int line = 0;
    std::vector<std::string> fields;
};

// Longer than any name, date or count of a statistics file, as a roster item; a longer
// field is refused so that no reader carries megabytes of one cell into its tables.
constexpr std::size_t LongestField = 4096;

// The records of a CSV text. A UTF-8 byte-order mark is dropped; CRLF, LF and quoted
// fields holding commas, quotes or line ends are read as spreadsheets write them; blank
// lines give no record. Throws InputDataError naming label, and the line, if the text is
// UTF-16, cannot be parsed or holds a field longer than LongestField.
std::vector<CsvRow> parseCsv(std::string_view text, const std::string& label);

// parseCsv of a file, named in messages by label (fileLabel: "Results file 'p'"). Throws
// InputFileError if it is missing, not a plain file, too large or unreadable.
std::vector<CsvRow> readCsvFile(const std::filesystem::path& path, const std::string& label);

// A column that a tool looks for by its header: the names it goes by, in any case.
struct CsvColumn {
    std::string_view role;               ///< what the column holds, for messages
    std::vector<std::string_view> names; ///< header names, compared case-insensitively
    bool required = true;                ///< a header row must name it
};

// Where the columns stand: the header row and, per column asked for, the index of the
// first field that names it (none for an optional column the header lacks).
struct CsvHeader {
    std::size_t row = 0;
    std::vector<std::optional<std::size_t>> columns;
};

// The first row that names every required column (rows above it, such as a row of
// column-group names, are passed over); none if no row does.
std::optional<CsvHeader> findHeader(const std::vector<CsvRow>& rows,
                                    const std::vector<CsvColumn>& columns);

// The field of a row at a column, blanks around it removed; empty when the row is short or
// the column is missing.
std::string_view fieldAt(const CsvRow& row, const std::optional<std::size_t>& column);

// Whether a row repeats the header's names in the required columns, as long tables do.
bool repeatsHeader(const CsvRow& row, const CsvRow& header, const CsvHeader& where,
                   const std::vector<CsvColumn>& columns);

// The names of the required columns, for a message that none were found.
std::string requiredColumnNames(const std::vector<CsvColumn>& columns);

// Why findHeader found no header, starting with label: the required columns missing from
// the row that names most of them, or all of them when no row names any.
std::string missingHeaderMessage(const std::vector<CsvRow>& rows,
                                 const std::vector<CsvColumn>& columns, const std::string& label);

} // namespace zelkor
