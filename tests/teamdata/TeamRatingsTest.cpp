#include "teamdata/TeamRatings.h"

#include "teamdata/RatingsFile.h"
#include "teamdata/SeasonRatings.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <sstream>
#include <string>
#include <vector>

namespace zelkor {
namespace {

// The rating table typed a second time, as text: code, offence, penalty, power play,
// short-handed, defence.
constexpr const char* ExpectedRoadTable = R"(
ANA 0.55 0.1891 0.9333 0.2612 0.71
ATL 0.84 0.2648 0.6606 1.0156 0.91
BOS 0.71 0.2381 0.9273 1.0446 0.9
BUF 0.65 0.2141 0.7697 0.5078 0.86
CAL 0.77 0.2381 1.0971 0.0001 0.82
CAR 0.69 0.1971 1.0424 0.7617 0.77
CBJ 0.86 0.2141 0.6606 0.5078 0.83
CHI 0.77 0.1704 0.7758 1.7293 0.75
COL 0.64 0.1972 1.4485 0.8065 0.81
DAL 0.66 0.1676 1.1152 0.2539 0.8284
DET 0.62 0.1836 1.3939 0.9882 0.78
EDM 0.63 0.2194 0.8971 1.7773 1
FLO 0.64 0.2616 0.9697 0.7411 0.87
LAK 0.63 0.2113 1.1031 0.9882 0.73
MIN 0.65 0.1986 0.5818 0.7617 0.65
MON 0.77 0.1792 0.9333 1.0156 1.04
NAS 0.61 0.1548 0.7455 0.5078 0.71
NJD 0.69 0.2028 1.1879 1.5234 0.8
NYI 0.75 0.2296 0.8364 2.2159 0.92
NYR 0.67 0.2493 1.1152 1.3058 0.92
OTT 0.73 0.1831 1.0242 0.8065 0.83
PHI 0.88 0.2042 0.8061 1.5669 0.96
PHO 0.7333 0.2264 0.9333 0.5078 0.7392
PIT 0.77 0.2639 1.0667 1.0156 0.69
SJS 0.72 0.2366 0.8242 0.4941 0.68
SLB 0.7 0.2347 0.8667 1.9763 0.89
TBL 0.97 0.2306 0.6182 0.9882 1.01
TOR 0.67 0.2466 0.9031 0.0001 0.78
VAN 0.59 0.1903 1.0182 2.0892 0.88
WAS 0.78 0.1861 1.0364 1.0446 0.91
AVG 0.6569 0.2128 0.9394 1.0399 0.857
NAT 1 0.2385 0.9969 1.2194 1
)";

constexpr const char* ExpectedHomeTable = R"(
ANA 0.9 0.1889 1.0848 0.9622 1.12
ATL 0.89 0.2648 1.0848 1.3058 1.04
BOS 1.02 0.2379 1.1152 1.0156 1.08
BUF 0.93 0.2141 1.1273 0.7835 1.2
CAL 1.03 0.2379 1.2303 0.5223 1.0333
CAR 1.04 0.1971 0.9455 0.8065 1.11
CBJ 1.22 0.2141 0.7455 0.2612 1.03
CHI 0.86 0.1704 0.8242 1.3442 1.22
COL 0.9 0.1972 1.1758 1.4822 1.06
DAL 0.8 0.1676 1.1333 1.0446 1.09
DET 1.09 0.1836 1.2485 1.0156 1.22
EDM 0.99 0.2194 0.7758 1.2695 0.9
FLO 0.98 0.2616 0.7212 1.0156 1.02
LAK 0.78 0.2113 1.3152 1.6131 1.17
MIN 1.44 0.1986 0.6303 2.0892 1.44
MON 0.65 0.1792 1.0727 0.2539 0.84
NAS 0.97 0.1548 1.4485 1.2352 1.35
NJD 0.81 0.2028 0.9697 0.5223 1.13
NYI 0.71 0.2296 0.8364 0.0001 1
NYR 0.69 0.2493 1.0485 1.2695 1
OTT 1.06 0.1831 1.1273 1.7293 1.23
PHI 0.93 0.2042 1.1394 0.7411 0.97
PHO 0.79 0.2264 1.0969 1.5234 1.09
PIT 0.97 0.2639 1.2909 0.7617 1.17
SJS 0.88 0.2366 0.8788 1.3442 1.39
SLB 0.89 0.2347 1.2848 1.8281 0.82
TBL 1.03 0.2306 0.8485 1.3058 1.1
TOR 0.7858 0.2466 0.8909 0.4941 1.01
VAN 0.91 0.1903 1.1273 0.9882 1.08
WAS 0.9 0.1861 1.5333 0.4941 1.04
AVG 1.0057 0.2128 1.0545 1.0676 1.0634
WAT 1 0.2385 0.9969 1.2195 1
)";

struct ExpectedRow {
    std::string code;
    std::vector<float> ratings;
};

// Each decimal converted straight to the nearest float, independently of the compiler's
// reading of the table's float literals.
std::vector<ExpectedRow> parseTable(const char* text) {
    std::vector<ExpectedRow> rows;
    std::istringstream lines(text);
    std::string code;
    while (lines >> code) {
        ExpectedRow row{code, {}};
        for (int column = 0; column < 5; ++column) {
            std::string decimal;
            lines >> decimal;
            float value = 0;
            const auto result =
                std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
            EXPECT_EQ(result.ptr, decimal.data() + decimal.size()) << decimal;
            row.ratings.push_back(value);
        }
        rows.push_back(row);
    }
    return rows;
}

void expectTableMatches(std::span<const TeamRatingRow> table, const char* expectedText) {
    const std::vector<ExpectedRow> expected = parseTable(expectedText);
    ASSERT_EQ(table.size(), 32U);
    ASSERT_EQ(expected.size(), 32U);
    for (std::size_t index = 0; index < table.size(); ++index) {
        const TeamRatingRow& row = table[index];
        SCOPED_TRACE(expected[index].code);
        EXPECT_EQ(row.code, expected[index].code);
        const std::vector<float> actual{row.rating.offence, row.rating.penalty,
                                        row.rating.powerPlay, row.rating.shortHanded,
                                        row.rating.defence};
        EXPECT_EQ(actual, expected[index].ratings);
    }
}

TeamRating roadRatings(const PredictionState& state) {
    return {state.OFFR, state.PENR, state.PPR, state.SHR, state.DEFR};
}

TeamRating homeRatings(const PredictionState& state) {
    return {state.OFFH, state.PENH, state.PPH, state.SHH, state.DEFH};
}

std::vector<float> asList(const TeamRating& rating) {
    return {rating.offence, rating.penalty, rating.powerPlay, rating.shortHanded, rating.defence};
}

std::vector<float> rowOf(std::span<const TeamRatingRow> table, std::string_view code) {
    for (const TeamRatingRow& row : table) {
        if (row.code == code) {
            return asList(row.rating);
        }
    }
    ADD_FAILURE() << "no row " << code;
    return {};
}

TEST(TeamRatings, RoadTableHoldsEveryValueInOrder) {
    expectTableMatches(roadRatingTable(), ExpectedRoadTable);
}

TEST(TeamRatings, HomeTableHoldsEveryValueInOrder) {
    expectTableMatches(homeRatingTable(), ExpectedHomeTable);
}

TEST(TeamRatings, CodesAreMatchedExactly) {
    struct Case {
        std::string code;
        bool road;
        bool home;
    };
    const std::vector<Case> cases{
        {"ANA", true, true},    {"WAS", true, true},    {"AVG", true, true},
        {"NAT", true, false},   {"WAT", false, true},   {"ana", false, false},
        {"ANA ", false, false}, {" ANA", false, false}, {"AN", false, false},
        {"ANAH", false, false}, {"", false, false},     {std::string("ANA\0", 4), false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isRoadTeamCode(c.code), c.road) << "'" << c.code << "'";
        EXPECT_EQ(isHomeTeamCode(c.code), c.home) << "'" << c.code << "'";
    }
}

TEST(TeamRatings, EachSideTakesTheRowOfItsOwnHalf) {
    PredictionState state;
    state.VISITOR = "ANA";
    state.HOME = "ANA";
    LoadTeamRatings(state);
    EXPECT_EQ(state.OFFR, 0.55f);
    EXPECT_EQ(state.OFFH, 0.9f);
    EXPECT_EQ(asList(roadRatings(state)), rowOf(roadRatingTable(), "ANA"));
    EXPECT_EQ(asList(homeRatings(state)), rowOf(homeRatingTable(), "ANA"));
}

TEST(TeamRatings, AllStarTeamsPlayOnlyOnTheirSide) {
    PredictionState state;
    state.VISITOR = "NAT";
    state.HOME = "WAT";
    LoadTeamRatings(state);
    EXPECT_EQ(asList(roadRatings(state)), rowOf(roadRatingTable(), "NAT"));
    EXPECT_EQ(asList(homeRatings(state)), rowOf(homeRatingTable(), "WAT"));

    PredictionState swapped;
    swapped.VISITOR = "WAT";
    swapped.HOME = "NAT";
    LoadTeamRatings(swapped);
    EXPECT_EQ(asList(roadRatings(swapped)), std::vector<float>(5, 0.0f));
    EXPECT_EQ(asList(homeRatings(swapped)), std::vector<float>(5, 0.0f));
}

TEST(TeamRatings, UnknownCodeKeepsThatSidesRatings) {
    PredictionState state;
    state.VISITOR = "ANA";
    state.HOME = "DET";
    LoadTeamRatings(state);
    const std::vector<float> homeBefore = asList(homeRatings(state));

    state.VISITOR = "ana";
    state.HOME = "VAN";
    LoadTeamRatings(state);
    EXPECT_EQ(asList(roadRatings(state)), rowOf(roadRatingTable(), "ANA"));
    EXPECT_NE(asList(homeRatings(state)), homeBefore);
    EXPECT_EQ(asList(homeRatings(state)), rowOf(homeRatingTable(), "VAN"));
}

TEST(TeamRatings, LookupWritesNothingBeyondTheTenRatings) {
    PredictionState state;
    state.VISITOR = "DET";
    state.HOME = "XYZ";
    state.GAAV = 2.5f;
    state.Ratiox = 0.75f;
    state.OFFH = 7;
    LoadTeamRatings(state);
    EXPECT_EQ(state.PENR, 0.1836f);
    EXPECT_EQ(state.OFFH, 7);
    EXPECT_EQ(asList(homeRatings(state)), (std::vector<float>{7, 0, 0, 0, 0}));
    EXPECT_EQ(state.VISITOR, "DET");
    EXPECT_EQ(state.HOME, "XYZ");
    EXPECT_EQ(state.GAAV, 2.5f);
    EXPECT_EQ(state.Ratiox, 0.75f);
}

// The built-in table written as a ratings file reads back to the same singles, so every
// pairing loads exactly the ratings it loads without the file.
TEST(RatingsFile, BuiltInTableReadsBackBitForBit) {
    const RatingTable read = parseRatings(ratingsFileText(*RatingTable::builtin()), "ratings.csv");
    ASSERT_EQ(read.road().size(), roadRatingTable().size());
    ASSERT_EQ(read.home().size(), homeRatingTable().size());
    for (const TeamRatingRow& road : roadRatingTable()) {
        for (const TeamRatingRow& home : homeRatingTable()) {
            PredictionState builtIn;
            builtIn.VISITOR = std::string(road.code);
            builtIn.HOME = std::string(home.code);
            PredictionState fromFile = builtIn;
            LoadTeamRatings(builtIn);
            LoadTeamRatings(fromFile, read);
            const auto bits = [](const PredictionState& s) {
                std::vector<std::uint32_t> all;
                for (float value :
                     {s.OFFR, s.PENR, s.PPR, s.SHR, s.DEFR, s.OFFH, s.PENH, s.PPH, s.SHH, s.DEFH}) {
                    all.push_back(std::bit_cast<std::uint32_t>(value));
                }
                return all;
            };
            EXPECT_EQ(bits(fromFile), bits(builtIn)) << road.code << " at " << home.code;
        }
    }
}

TEST(RatingsFile, TheLargestPlayableRatingsAreRead) {
    const RatingTable table = parseRatings(
        "code,venue,offence,penalty,power_play,short_handed,defence\nBOS,road,1,1,20165,171378,1\n",
        "r");
    EXPECT_EQ(table.roadRating("BOS")->powerPlay, MostPowerPlayRating);
    EXPECT_EQ(table.roadRating("BOS")->shortHanded, MostShortHandedRating);
}

TEST(RatingsFile, RefusalsNameTheLineAndField) {
    const std::string header = "code,venue,offence,penalty,power_play,short_handed,defence\n";
    const struct {
        std::string text;
        std::string words;
    } cases[] = {
        {"code,venue,offence,penalty,power_play,defence\nBOS,road,1,0.2,1,1\n",
         "line 1, header: the column 'short_handed' is missing"},
        {header + "BOS,road,1,0.2,1,1,1\nBOS,road,1,0.2,1,1,1\n",
         "line 3, code: BOS has a second road row"},
        {header + "BOS,road,1,0.2,x,1,1\n", "line 2, power_play: 'x' is not a number"},
        {header + "BOS,road,1,0.2,1,1,inf\n", "line 2, defence: 'inf' is not a finite"},
        {header + "BOS,road,1,0.2,1,1,1e39\n", "line 2, defence: '1e39' is not a finite"},
        {header + "BOS,road,-0.5,0.2,1,1,1\n", "line 2, offence: '-0.5' is negative"},
        {header + "BOS,home,1,1.5,1,1,1\n",
         "line 2, penalty: a penalty chance lies between 0 and 1"},
        {header + "BOS,away,1,0.2,1,1,1\n", "line 2, venue: 'away' is neither road nor home"},
        // A decimal point lost: the power play's multiplier would leave 16 bits.
        {header + "BOS,road,1,0.2,1,1,1\nTOR,home,1,0.2,25000,1,1\n",
         "line 3, power_play: '25000' is more than 20165"},
        {header + "BOS,road,1,0.2,1,171379,1\n", "line 2, short_handed: '171379' is more than"},
        {header + "../x,road,1,0.2,1,1,1\n", "line 2, code: '../x' is not a team code"},
        {header, "holds no team"},
        {"", "is empty"},
        {std::string(MostRatingsFileBytes + 1, ' '), "is larger than 1 MiB"},
    };
    for (const auto& c : cases) {
        try {
            parseRatings(c.text, "season/ratings.csv");
            ADD_FAILURE() << "accepted: " << c.text.substr(0, 80);
        } catch (const RatingsFileError& error) {
            EXPECT_NE(std::string(error.what()).find(c.words), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find("season/ratings.csv"), std::string::npos);
        }
    }
    std::string many = header;
    for (int row = 0; row <= 1000; ++row) {
        many += "T" + std::to_string(row) + ",road,1,0.2,1,1,1\n";
    }
    EXPECT_THROW(parseRatings(many, "many"), RatingsFileError);
}

// Without records a shootout is an even draw; records weigh it, each smoothed by one win
// and one loss. A shootouts file turns shootouts on; a bad count is refused with its line.
TEST(SeasonRatings, ShootoutChanceAndFile) {
    const ShootoutRules even{true, {}};
    EXPECT_FLOAT_EQ(even.visitorChance("BOS", "TOR"), 0.5f);
    const ShootoutRules records{true, {{"BOS", 9, 1}, {"TOR", 1, 9}}};
    EXPECT_NEAR(records.visitorChance("BOS", "TOR"), 25.0 / 26.0, 1e-6);
    EXPECT_NEAR(records.visitorChance("TOR", "BOS"), 1.0 / 26.0, 1e-6);

    const auto file = std::filesystem::temp_directory_path() / "zelkor-shootouts-test.csv";
    std::ofstream(file) << shootoutsFileText(records.records);
    const ShootoutRules read = readShootoutsFile(file);
    EXPECT_TRUE(read.on);
    ASSERT_EQ(read.records.size(), 2U);
    EXPECT_EQ(read.records[1].losses, 9);
    std::ofstream(file) << "code,wins,losses\nBOS,3,-1\n";
    EXPECT_THROW(
        {
            try {
                readShootoutsFile(file);
            } catch (const RatingsFileError& error) {
                EXPECT_NE(std::string(error.what()).find("line 2, losses: '-1'"),
                          std::string::npos);
                throw;
            }
        },
        RatingsFileError);
    // A spreadsheet's byte-order mark is passed over; a club listed twice is refused.
    std::ofstream(file) << "\xEF\xBB\xBF"
                        << "code,wins,losses\r\nBOS,3,1\r\nTOR,2,5\r\n";
    EXPECT_EQ(readShootoutsFile(file).records.at(1).losses, 5);
    std::ofstream(file) << "code,wins,losses\nBOS,3,1\nTOR,2,5\nBOS,4,0\n";
    try {
        readShootoutsFile(file);
        ADD_FAILURE() << "a club listed twice was read";
    } catch (const RatingsFileError& error) {
        EXPECT_NE(std::string(error.what())
                      .find("line 4, code: BOS is listed again (first on "
                            "line 2)"),
                  std::string::npos)
            << error.what();
    }
    std::filesystem::remove(file);
}

// The edges a file may reach are read: a penalty chance of 0 and of exactly 1, and a
// byte-order mark before the header as spreadsheets write it.
TEST(RatingsFile, ReadsTheEdgesOfEachValueAndAByteOrderMark) {
    const std::string header = "code,venue,offence,penalty,power_play,short_handed,defence\n";
    const RatingTable edges =
        parseRatings(header + "BOS,road,0,1,0,0,0\nTOR,home,2.5,0,1.7,0.3,1.2\n", "edges");
    ASSERT_NE(edges.roadRating("BOS"), nullptr);
    EXPECT_EQ(edges.roadRating("BOS")->penalty, 1.0f);
    EXPECT_EQ(edges.homeRating("TOR")->penalty, 0.0f);
    EXPECT_EQ(edges.homeRating("TOR")->offence, 2.5f);
    EXPECT_EQ(edges.homeRating("TOR")->powerPlay, 1.7f);
    EXPECT_EQ(edges.homeRating("TOR")->shortHanded, 0.3f);
    EXPECT_EQ(edges.homeRating("TOR")->defence, 1.2f);
    EXPECT_EQ(edges.homeRating("BOS"), nullptr);
    EXPECT_EQ(edges.roadRating("TOR"), nullptr);
    const RatingTable marked =
        parseRatings("\xEF\xBB\xBF" + header + "BOS,road,1,0.2,1,1,1\n", "marked");
    EXPECT_NE(marked.roadRating("BOS"), nullptr);
}

// Records set against each other (BOS 9-1 smoothed to 10/12, MTL 3-5 to 4/10), each
// club's own: the visitors' chance is theirs whichever side they are on.
TEST(SeasonRatings, ShootoutChanceOfUnevenRecordsBySide) {
    const ShootoutRules rules{true, {{"MON", 3, 5}, {"BOS", 9, 1}}};
    EXPECT_NEAR(rules.visitorChance("BOS", "MON"), 15.0 / 17.0, 1e-6);
    EXPECT_NEAR(rules.visitorChance("MON", "BOS"), 2.0 / 17.0, 1e-6);
    // A club without a record stands at one half.
    EXPECT_NEAR(rules.visitorChance("TOR", "MON"), 0.5 * 0.6 / (0.5 * 0.6 + 0.4 * 0.5), 1e-6);
}

TEST(SeasonRatings, ShootoutsFileIsReadByItsHeaderAlone) {
    const auto file = std::filesystem::temp_directory_path() / "zelkor-shootouts-header.csv";
    for (const char* wrong :
         {"code,losses,wins\n", "code,wins\n", "team,wins,losses\n", "BOS,3,4\n"}) {
        std::ofstream(file) << wrong << "BOS,3,4\n";
        try {
            readShootoutsFile(file);
            ADD_FAILURE() << wrong << " was read";
        } catch (const RatingsFileError& error) {
            EXPECT_NE(std::string(error.what()).find("line 1, header"), std::string::npos)
                << error.what();
        }
    }
    std::ofstream(file) << "code,wins,losses\r\n\r\nBOS,3,4\r\nMON,0,12\r\n";
    const ShootoutRules read = readShootoutsFile(file);
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.records[0].code, "BOS");
    EXPECT_EQ(read.records[0].wins, 3);
    EXPECT_EQ(read.records[0].losses, 4);
    EXPECT_EQ(read.records[1].losses, 12);
    std::filesystem::remove(file);
}

TEST(SeasonRatings, ShootoutsFileWithAByteOrderMarkIsRead) {
    const auto file = std::filesystem::temp_directory_path() / "zelkor-shootouts-bom.csv";
    std::ofstream(file) << "\xEF\xBB\xBF"
                        << "code,wins,losses\nBOS,3,4\n";
    EXPECT_EQ(readShootoutsFile(file).records.size(), 1u);
    std::filesystem::remove(file);
}

TEST(SeasonRatings, ShootoutsFileRefusesAClubListedTwice) {
    const auto file = std::filesystem::temp_directory_path() / "zelkor-shootouts-twice.csv";
    std::ofstream(file) << "code,wins,losses\nBOS,3,4\nBOS,5,1\n";
    try {
        readShootoutsFile(file);
        ADD_FAILURE() << "BOS listed twice was read";
    } catch (const RatingsFileError& error) {
        EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos) << error.what();
    }
    std::filesystem::remove(file);
}

TEST(RatingsFile, RefusesAValueTheEngineCannotPlay) {
    const std::string header = "code,venue,offence,penalty,power_play,short_handed,defence\n";
    try {
        parseRatings(header + "BOS,road,1,0.2,25000,1,1\n", "season/ratings.csv");
        ADD_FAILURE() << "a power play of 25,000 was read";
    } catch (const RatingsFileError& error) {
        EXPECT_NE(std::string(error.what()).find("line 2, power_play"), std::string::npos)
            << error.what();
    }
}

} // namespace
} // namespace zelkor
