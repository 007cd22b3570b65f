#include "teamdata/RosterItemReader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace zelkor {
namespace {

// The items of text, then the problem that stopped the reading, if any, as "[problem]".
std::vector<std::string> allItems(const std::string& text) {
    std::stringbuf source(text);
    RosterItemReader reader(source);
    std::vector<std::string> items;
    std::string item;
    for (;;) {
        switch (reader.readItem(item)) {
        case ItemRead::Item:
            items.push_back(item);
            continue;
        case ItemRead::End:
            return items;
        case ItemRead::TooLong:
            items.push_back("[too long]");
            return items;
        case ItemRead::UnclosedQuote:
            items.push_back("[unclosed quote]");
            return items;
        case ItemRead::Utf16:
            items.push_back("[UTF-16]");
            return items;
        case ItemRead::NulCharacter:
            items.push_back("[NUL]");
            return items;
        }
    }
}

TEST(RosterItemReader, SplitsItemsAsWritten) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> items;
    };
    const std::vector<Case> cases{
        {"commas and line feeds", "a,b\nc,d\n", {"a", "b", "c", "d"}},
        {"Windows line ends", "a,b\r\nc,d\r\n", {"a", "b", "c", "d"}},
        {"lone carriage returns", "a\rb\r", {"a", "b"}},
        {"no line end at the end", "a,b", {"a", "b"}},
        {"blank line", "a\n\nb", {"a", "", "b"}},
        {"blank Windows line", "a\r\n\r\nb", {"a", "", "b"}},
        {"two commas", "a,,b", {"a", "", "b"}},
        {"comma before the line end", "a,\nb", {"a", "", "b"}},
        {"comma at the end", "a,", {"a"}},
        {"blanks after a comma at the end", "a,  ", {"a", ""}},
        {"blanks before an item skipped", "  a,   b", {"a", "b"}},
        {"blanks after an item kept", "a  ,b", {"a  ", "b"}},
        {"tab is not a blank", "\ta", {"\ta"}},
        {"quoted comma", "\"Smith, John\",82", {"Smith, John", "82"}},
        {"blanks before a quote", "  \"A, B\",1", {"A, B", "1"}},
        {"text after the closing quote dropped", "\"Smith\" Jr.,82", {"Smith", "82"}},
        {"empty quotes", "\"\",1", {"", "1"}},
        {"unclosed quote at the line end", "1\n\"Smith, J\n82", {"1", "[unclosed quote]"}},
        {"unclosed quote at the end", "\"Smith", {"[unclosed quote]"}},
        {"quote inside an item kept", "O\"Neil,3", {"O\"Neil", "3"}},
        {"empty text", "", {}},
        {"just a line end", "\r\n", {""}},
        {"UTF-8 byte-order mark skipped", "\xef\xbb\xbf\"A, B\",1", {"A, B", "1"}},
        {"byte-order mark alone", "\xef\xbb\xbf", {}},
        {"part of a byte-order mark kept", "\xef\xbbx,1", {"\xef\xbbx", "1"}},
        {"byte-order mark later kept", "1,\xef\xbb\xbf", {"1", "\xef\xbb\xbf"}},
        {"UTF-16 with its mark",
         "\xff\xfe"
         "B",
         {"[UTF-16]"}},
        {"UTF-16 big-endian with its mark", "\xfe\xff", {"[UTF-16]"}},
        {"UTF-16 without a mark", std::string("B\0O\0S\0", 6), {"[UTF-16]"}},
        {"NUL later", std::string("a,b\0c", 5), {"a", "[NUL]"}},
        {"longest item",
         std::string(LongestItem, 'x') + ",1",
         {std::string(LongestItem, 'x'), "1"}},
        {"one character more", std::string(LongestItem + 1, 'x'), {"[too long]"}},
        {"blanks count", std::string(LongestItem, ' ') + "x", {"[too long]"}},
        {"quoted", "\"" + std::string(LongestItem, 'x') + "\"", {"[too long]"}},
        {"after the closing quote", "\"x\"" + std::string(LongestItem, 'y'), {"[too long]"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(allItems(c.text), c.items) << c.what;
    }
}

TEST(RosterItemReader, ReadsNoFurtherThanTheItemAskedFor) {
    std::stringbuf source("Forward One,82,41\r\nrest");
    RosterItemReader reader(source);
    std::string item;
    ASSERT_EQ(reader.readItem(item), ItemRead::Item);
    EXPECT_EQ(source.sgetc(), '8');
    ASSERT_EQ(reader.readItem(item), ItemRead::Item);
    ASSERT_EQ(reader.readItem(item), ItemRead::Item);
    EXPECT_EQ(item, "41");
    EXPECT_EQ(source.sgetc(), 'r');
}

TEST(RosterItemReader, EndLeavesTheItemAsItWas) {
    std::stringbuf source("only");
    RosterItemReader reader(source);
    std::string item = "before";
    EXPECT_FALSE(reader.atEnd());
    ASSERT_EQ(reader.readItem(item), ItemRead::Item);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readItem(item), ItemRead::End);
    EXPECT_EQ(item, "only");
}

} // namespace
} // namespace zelkor
