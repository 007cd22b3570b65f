#include "season/CsvFile.h"
#include "core/Errors.h"
#include "season/DataErrors.h"
#include "season/TeamCodes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace zelkor {
namespace {

TEST(CsvFile, ReadsUntidyExportsWithTheLineOfEachRow) {
    const std::vector<CsvRow> rows = parseCsv("\xEF\xBB\xBFgroup,,\r\n"
                                              "Player,Pos,G\r\n"
                                              "\r\n"
                                              "\"Ann, \"\"A\"\" Bee\",C,3\r\n"
                                              "\"two\nlines\",D, 4 \n"
                                              "last,W,5",
                                              "test");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].fields[0], "group");
    EXPECT_EQ(rows[2].fields[0], "Ann, \"A\" Bee");
    EXPECT_EQ(rows[2].line, 4);
    EXPECT_EQ(rows[3].fields[0], "two\nlines");
    EXPECT_EQ(rows[3].line, 5);
    EXPECT_EQ(rows[4].line, 7);
    EXPECT_EQ(rows[4].fields, (std::vector<std::string>{"last", "W", "5"}));
}

// A field past 4 KiB is refused with its line and column, and early: a quoted field of
// 15 MiB is not carried to its end; a field over lines counts all of them.
TEST(CsvFile, RefusesLongFieldsAndUtf16WithTheirLine) {
    const std::string quotedLines = "\"" + std::string(15 << 20, 'x') + "\"\n";
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {"Player,G\nA," + std::string(LongestField + 1, '7') + "\n",
         "F, line 2, column 2: a field"},
        {"Player,G\n\n" + quotedLines, "F, line 3, column 1: a field is longer than 4096"},
        {"Player\n\"" + std::string(3000, 'y') + "\n" + std::string(3000, 'y') + "\"\n",
         "F, line 2, column 1"},
        {std::string("\xFF\xFEP\0l\0", 6), "F is UTF-16 text"},
        {std::string("P\0l\0a\0", 6), "F is UTF-16 text"},
    };
    for (const auto& c : cases) {
        try {
            parseCsv(c.text, "F");
            ADD_FAILURE() << c.message;
        } catch (const ZelkorError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(parseCsv("A," + std::string(LongestField, 'z') + "\n", "F").at(0).fields[1].size(),
              LongestField);
}

TEST(CsvFile, HeaderIsTheFirstRowNamingTheColumnsAndRepeatedNamesCountOnce) {
    const std::vector<CsvColumn> columns = {
        {"goals", {"G", "goals"}, true}, {"team", {"Tm"}, false}, {"situation", {"EV"}, true}};
    const std::vector<CsvRow> rows = parseCsv("Scoring,,Goals,\nx,EV,g,EV\n", "test");
    const std::optional<CsvHeader> header = findHeader(rows, columns);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->row, 1u);
    EXPECT_EQ(header->columns[0], 2u);
    EXPECT_FALSE(header->columns[1]);
    EXPECT_EQ(header->columns[2], 1u);
    EXPECT_FALSE(findHeader(parseCsv("a,b\n", "test"), columns));
    // The row naming most columns is taken for the header, and its missing ones named.
    EXPECT_EQ(missingHeaderMessage(parseCsv("Scoring\nPlayer,Goals,PP\n", "test"), columns, "F"),
              "F, line 2: the header row has no column situation (EV).");
    EXPECT_EQ(missingHeaderMessage(parseCsv("a,b\n", "test"), columns, "F"),
              "F has no header row naming the columns goals (G, goals); situation (EV).");
}

TEST(TeamCodes, SiteAbbreviationsMapToTheProgramsCodes) {
    const std::vector<std::pair<const char*, const char*>> known = {
        {"MTL", "MON"}, {"NSH", "NAS"}, {"CGY", "CAL"}, {"FLA", "FLO"}, {"STL", "SLB"},
        {"T.B", "TBL"}, {"TBL", "TBL"}, {"S.J", "SJS"}, {"L.A", "LAK"}, {"N.J", "NJD"},
        {"PHX", "PHO"}, {"ARI", "PHO"}, {"WSH", "WAS"}, {"tor", "TOR"}, {"AVG", "AVG"}};
    for (const auto& [abbreviation, code] : known) {
        EXPECT_EQ(teamCodeFor(abbreviation), code) << abbreviation;
    }
    EXPECT_FALSE(teamCodeFor("SEA"));
    EXPECT_EQ(TeamCodeMap({"sea=avg"}).codeFor("SEA"), "AVG");
    EXPECT_THROW(TeamCodeMap({"SEA=XYZ"}), ZelkorError);
    for (const char* total : {"TOT", "2TM", "10TM", "TOR, MTL", "TOR/MTL"}) {
        EXPECT_TRUE(isTotalRow(total)) << total;
    }
    EXPECT_FALSE(isTotalRow("TOR"));
}

// An empty file is a file without rows, for its reader to say what it lacks; a missing
// one and a folder are named as such.
TEST(CsvFile, EmptyFileIsReadWithoutRowsAndMissingOnesAreNamed) {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("zelkor-csv-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    std::ofstream(folder / "empty.csv").close();
    EXPECT_TRUE(readCsvFile(folder / "empty.csv", "E").empty());
    try {
        readCsvFile(folder / "missing.csv", "Results file 'missing.csv'");
        ADD_FAILURE() << "a missing file was read";
    } catch (const InputFileError& error) {
        EXPECT_STREQ(error.what(), "Results file 'missing.csv' was not found.");
    }
    try {
        readCsvFile(folder, "F");
        ADD_FAILURE() << "a folder was read";
    } catch (const InputFileError& error) {
        EXPECT_NE(std::string(error.what()).find("is not a plain file"), std::string::npos);
    }
    std::ofstream(folder / "two.csv") << "a,b\n1,2";
    const std::vector<CsvRow> rows = readCsvFile(folder / "two.csv", "T");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].line, 2);
    EXPECT_EQ(rows[1].fields, (std::vector<std::string>{"1", "2"}));
    fs::remove_all(folder);
}

} // namespace
} // namespace zelkor
