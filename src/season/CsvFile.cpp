#include "season/CsvFile.h"

#include "season/DataErrors.h"
#include "season/MessageText.h"

#include <csv.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <system_error>

namespace zelkor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF"; // UTF-8, as spreadsheets save it

// A spreadsheet's "Unicode text" is UTF-16: a byte-order mark, or a NUL beside the first
// character of a header that is plain ASCII.
bool isUtf16(std::string_view text) {
    return text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF") ||
           (text.size() >= 2 && (text[0] == '\0' || text[1] == '\0'));
}

// A season of every skater is well under a megabyte; far larger is not a statistics file.
constexpr std::uintmax_t LargestCsvFile = 16 * 1024 * 1024;

// Far more fields than any statistics export holds (a season of every skater is some
// 30,000); a file of nothing but separators must not turn its bytes into gigabytes.
constexpr std::size_t MostFields = 2'000'000;

// What the parser's callbacks build: the rows so far and the line being fed.
struct Collector {
    std::vector<CsvRow> rows;
    std::size_t fieldCount = 0;
    bool tooManyFields = false; ///< past MostFields: the rest is dropped and the file refused
    std::size_t longField = 0;  ///< column (from 1) of a field past LongestField, if any
    std::vector<std::string> fields;
    int line = 0;            ///< line of the text being parsed
    int rowStart = 0;        ///< line the record being read starts on
    bool awaitingRow = true; ///< the last record has ended; the next starts with content

    bool refused() const { return tooManyFields || longField != 0; }
};

void addField(void* text, std::size_t length, void* data) {
    auto& collector = *static_cast<Collector*>(data);
    if (collector.refused()) {
        return;
    }
    // The parser is C: it cannot pass an exception, so the refusal waits for its return.
    if (++collector.fieldCount > MostFields) {
        collector.tooManyFields = true;
        return;
    }
    if (length > LongestField) {
        collector.longField = collector.fields.size() + 1;
        return;
    }
    collector.fields.emplace_back(static_cast<const char*>(text), text ? length : 0);
}

void endRow(int /*terminator*/, void* data) {
    auto& collector = *static_cast<Collector*>(data);
    if (collector.refused()) {
        return;
    }
    collector.rows.push_back({collector.rowStart, std::move(collector.fields)});
    collector.fields.clear();
    collector.awaitingRow = true;
}

using Parser = std::unique_ptr<csv_parser, decltype(&csv_free)>;

bool sameName(std::string_view a, std::string_view b) {
    return upperCase(trimmed(a)) == upperCase(trimmed(b));
}

} // namespace

std::vector<CsvRow> parseCsv(std::string_view text, const std::string& label) {
    if (isUtf16(text)) {
        throw InputDataError(label + " is UTF-16 text; save it as CSV in UTF-8.");
    }
    if (text.starts_with(ByteOrderMark)) {
        text.remove_prefix(ByteOrderMark.size());
    }
    csv_parser state{};
    if (csv_init(&state, 0) != 0) {
        throw InputDataError("Not enough memory to read " + label + ".");
    }
    const Parser parser(&state, &csv_free);
    Collector collector;
    const auto refuseTooManyFields = [&collector, &label, &parser] {
        // A field still being read counts too: the parser's buffer must not grow with it.
        if (collector.longField == 0 && parser->entry_pos > LongestField) {
            collector.longField = collector.fields.size() + 1;
        }
        if (collector.longField != 0) {
            throw InputDataError(filePlace(label, collector.rowStart,
                                           "column " + std::to_string(collector.longField)) +
                                 "a field is longer than " + std::to_string(LongestField) +
                                 " bytes, more than any name or value of a season file.");
        }
        if (collector.tooManyFields) {
            throw InputDataError(label + " holds more than " + std::to_string(MostFields) +
                                 " fields; it is not a statistics export.");
        }
    };
    // Fed a line at a time, so that every record knows the line it starts on.
    while (!text.empty()) {
        ++collector.line;
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end == std::string_view::npos ? end : end + 1);
        // A quoted field may run over lines: a record starts where content follows its
        // predecessor's end.
        if (collector.awaitingRow && line.find_first_not_of("\r\n") != std::string_view::npos) {
            collector.rowStart = collector.line;
            collector.awaitingRow = false;
        }
        // A long line is fed in pieces, so that a field past the bound is refused early.
        for (std::size_t start = 0; start < line.size(); start += LongestField) {
            const std::string_view piece = line.substr(start, LongestField);
            if (csv_parse(parser.get(), piece.data(), piece.size(), addField, endRow, &collector) !=
                piece.size()) {
                throw InputDataError(filePlace(label, collector.line) + "cannot be read as CSV (" +
                                     csv_strerror(csv_error(parser.get())) + ").");
            }
            refuseTooManyFields();
        }
        text.remove_prefix(line.size());
    }
    csv_fini(parser.get(), addField, endRow, &collector);
    refuseTooManyFields();
    return std::move(collector.rows);
}

std::vector<CsvRow> readCsvFile(const fs::path& path, const std::string& label) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        throw InputFileError(label + " was not found.");
    }
    // A pipe or a device could block or never end.
    if (!fs::is_regular_file(status)) {
        throw InputFileError(label + " is not a plain file.");
    }
    if (fs::file_size(path, error) > LargestCsvFile) {
        throw InputFileError(label + " is larger than 16 MiB; it is not a CSV export.");
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf())) {
        // An empty file fails the copy too, and is simply a file without rows.
        if (file && fs::file_size(path, error) == 0 && !error) {
            return {};
        }
        throw InputFileError(label + " cannot be read.");
    }
    return parseCsv(text.str(), label);
}

std::optional<CsvHeader> findHeader(const std::vector<CsvRow>& rows,
                                    const std::vector<CsvColumn>& columns) {
    for (std::size_t row = 0; row < rows.size(); ++row) {
        CsvHeader header{row, {}};
        bool complete = true;
        for (const CsvColumn& column : columns) {
            const std::vector<std::string>& fields = rows[row].fields;
            const auto found = std::find_if(fields.begin(), fields.end(), [&](const auto& field) {
                return std::any_of(column.names.begin(), column.names.end(),
                                   [&](std::string_view name) { return sameName(field, name); });
            });
            if (found == fields.end()) {
                header.columns.emplace_back();
                complete = complete && !column.required;
            } else {
                header.columns.emplace_back(static_cast<std::size_t>(found - fields.begin()));
            }
        }
        if (complete) {
            return header;
        }
    }
    return std::nullopt;
}

std::string_view fieldAt(const CsvRow& row, const std::optional<std::size_t>& column) {
    if (!column || *column >= row.fields.size()) {
        return {};
    }
    return trimmed(row.fields[*column]);
}

bool repeatsHeader(const CsvRow& row, const CsvRow& header, const CsvHeader& where,
                   const std::vector<CsvColumn>& columns) {
    for (std::size_t index = 0; index < columns.size(); ++index) {
        if (columns[index].required &&
            !sameName(fieldAt(row, where.columns[index]), fieldAt(header, where.columns[index]))) {
            return false;
        }
    }
    return true;
}

namespace {

// The required columns, or those of them for which missing is true, for a message.
std::string columnNames(const std::vector<CsvColumn>& columns, const std::vector<bool>& missing) {
    std::string text;
    for (std::size_t index = 0; index < columns.size(); ++index) {
        const CsvColumn& column = columns[index];
        if (!column.required || !missing[index]) {
            continue;
        }
        text += text.empty() ? "" : "; ";
        text += std::string(column.role);
        if (column.names.size() == 1 && sameName(column.names.front(), column.role)) {
            continue;
        }
        text += " (";
        for (std::size_t name = 0; name < column.names.size(); ++name) {
            text += (name == 0 ? "" : ", ") + std::string(column.names[name]);
        }
        text += ")";
    }
    return text;
}

bool namesColumn(const CsvRow& row, const CsvColumn& column) {
    return std::any_of(row.fields.begin(), row.fields.end(), [&](const std::string& field) {
        return std::any_of(column.names.begin(), column.names.end(),
                           [&](std::string_view name) { return sameName(field, name); });
    });
}

} // namespace

std::string requiredColumnNames(const std::vector<CsvColumn>& columns) {
    return columnNames(columns, std::vector<bool>(columns.size(), true));
}

std::string missingHeaderMessage(const std::vector<CsvRow>& rows,
                                 const std::vector<CsvColumn>& columns, const std::string& label) {
    const CsvRow* best = nullptr;
    std::vector<bool> missing(columns.size(), true);
    std::size_t mostNamed = 0;
    for (const CsvRow& row : rows) {
        std::vector<bool> lacks(columns.size());
        std::size_t named = 0;
        for (std::size_t index = 0; index < columns.size(); ++index) {
            lacks[index] = !namesColumn(row, columns[index]);
            named += columns[index].required && !lacks[index] ? 1 : 0;
        }
        if (named > mostNamed) {
            best = &row;
            mostNamed = named;
            missing = std::move(lacks);
        }
    }
    if (best == nullptr) {
        return label + " has no header row naming the columns " + requiredColumnNames(columns) +
               ".";
    }
    std::size_t count = 0;
    for (std::size_t index = 0; index < columns.size(); ++index) {
        count += columns[index].required && missing[index] ? 1 : 0;
    }
    return filePlace(label, best->line) + "the header row has no " +
           (count == 1 ? "column " : "columns ") + columnNames(columns, missing) + ".";
}

} // namespace zelkor
