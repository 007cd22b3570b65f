#include "ui/HelpText.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace zelkor::ui {
namespace {

// The help text cut at its CR LF line ends; fails on a lone CR or LF.
std::vector<std::string> helpLines() {
    std::vector<std::string> lines;
    std::string_view rest = helpText();
    while (!rest.empty()) {
        const auto end = rest.find("\r\n");
        EXPECT_NE(end, std::string_view::npos) << "the last line has no CR LF";
        if (end == std::string_view::npos) {
            break;
        }
        const std::string line(rest.substr(0, end));
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        lines.push_back(line);
        rest.remove_prefix(end + 2);
    }
    return lines;
}

TEST(HelpText, EveryLineEndsInCrLf) {
    EXPECT_TRUE(helpText().ends_with("\r\n"));
    EXPECT_GE(helpLines().size(), 40u);
}

TEST(HelpText, OpensWithTheHeadingUnderlinedByTildes) {
    const auto lines = helpLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_TRUE(lines[0].starts_with("ZELKOR"));
    EXPECT_NE(lines[0].find("Hockey Game Prediction Program"), std::string::npos);
    EXPECT_NE(lines[0].find("Version"), std::string::npos);
    EXPECT_EQ(lines[1], std::string(55, '~'));
    EXPECT_EQ(lines[2], "");
}

TEST(HelpText, HoldsTheQuotedPiecesInOrder) {
    const auto lines = helpLines();
    const std::vector<std::string> inOrder = {
        "##### Installation #####",
        "\t1. Select Visiting Team, Enter GAA",
        "\t2. Select Home Team, Enter GAA",
        "\t4. Record Scores",
        "##### Program Information #####",
        "Thank you for your interst and support! ",
        std::string(42, '*'),
    };
    auto from = lines.begin();
    for (const std::string& wanted : inOrder) {
        const auto found = std::find(from, lines.end(), wanted);
        EXPECT_NE(found, lines.end()) << "missing or out of order: '" << wanted << "'";
        if (found != lines.end()) {
            from = found + 1;
        }
    }
    EXPECT_EQ(lines.back(), std::string(42, '*'));
    // The third step is in our own words, between the second and the fourth.
    const auto second = std::find(lines.begin(), lines.end(), "\t2. Select Home Team, Enter GAA");
    ASSERT_LT(second + 2, lines.end());
    EXPECT_TRUE(second[1].starts_with("\t3. ")) << second[1];
    EXPECT_NE(second[1].find("\"Face Off\""), std::string::npos) << second[1];

    const std::string_view text = helpText();
    for (const char* piece : {"the professional league", "\"Money Line\"", "\"Pushes\"", "59.2%",
                              "05 Oct 00 to 12 Mar 01", "14 Mar 01",
                              "\"Average, North American AllStar, World AllStar\""}) {
        EXPECT_NE(text.find(piece), std::string_view::npos) << piece;
    }
}

} // namespace
} // namespace zelkor::ui
