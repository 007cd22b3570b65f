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
    std::vector<std::string> fields;
    int line = 0;            ///< line of the text being parsed
    int rowStart = 0;        ///< line the record being read starts on
    bool awaitingRow = true; ///< the last record has ended; the next starts with content
};

void addField(void* text, std::size_t length, void* data) {
    auto& collector = *static_cast<Collector*>(data);
    // The parser is C: it cannot pass an exception, so the refusal waits for its return.
    if (++collector.fieldCount > MostFields) {
        collector.tooManyFields = true;
        return;
    }
    collector.fields.emplace_back(static_cast<const char*>(text), text ? length : 0);
}

void endRow(int /*terminator*/, void* data) {
    auto& collector = *static_cast<Collector*>(data);
    if (collector.tooManyFields) {
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
    if (text.starts_with(ByteOrderMark)) {
        text.remove_prefix(ByteOrderMark.size());
    }
    csv_parser state{};
    if (csv_init(&state, 0) != 0) {
        throw InputDataError("Not enough memory to read " + label + ".");
    }
    const Parser parser(&state, &csv_free);
    Collector collector;
    const auto refuseTooManyFields = [&collector, &label] {
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
        if (csv_parse(parser.get(), line.data(), line.size(), addField, endRow, &collector) !=
            line.size()) {
            throw InputDataError(label + ", line " + std::to_string(collector.line) +
                                 ": cannot be read as CSV (" +
                                 csv_strerror(csv_error(parser.get())) + ").");
        }
        refuseTooManyFields();
        text.remove_prefix(line.size());
    }
    csv_fini(parser.get(), addField, endRow, &collector);
    refuseTooManyFields();
    return std::move(collector.rows);
}

std::vector<CsvRow> readCsvFile(const fs::path& path) {
    const std::string label = "file '" + shownPath(path) + "'";
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        throw InputFileError("The " + label + " was not found.");
    }
    // A pipe or a device could block or never end.
    if (!fs::is_regular_file(status)) {
        throw InputFileError("The " + label + " is not a plain file.");
    }
    if (fs::file_size(path, error) > LargestCsvFile) {
        throw InputFileError("The " + label + " is larger than 16 MiB; it is not a CSV export.");
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf())) {
        // An empty file fails the copy too, and is simply a file without rows.
        if (file && fs::file_size(path, error) == 0 && !error) {
            return {};
        }
        throw InputFileError("The " + label + " cannot be read.");
    }
    return parseCsv(text.str(), "The " + label);
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

std::string requiredColumnNames(const std::vector<CsvColumn>& columns) {
    std::string text;
    for (const CsvColumn& column : columns) {
        if (!column.required) {
            continue;
        }
        text += text.empty() ? "" : "; ";
        text += std::string(column.role) + " (";
        for (std::size_t name = 0; name < column.names.size(); ++name) {
            text += (name == 0 ? "" : ", ") + std::string(column.names[name]);
        }
        text += ")";
    }
    return text;
}

} // namespace zelkor
