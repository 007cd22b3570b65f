#include "teamdata/RosterItemReader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace zelkor {
namespace {

std::vector<std::string> allItems(const std::string& text) {
    std::stringbuf source(text);
    RosterItemReader reader(source);
    std::vector<std::string> items;
    std::string item;
    while (reader.readItem(item)) {
        items.push_back(item);
    }
    return items;
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
        {"unclosed quote ends at the line end", "\"Smith, J\n82", {"Smith, J", "82"}},
        {"quote inside an item kept", "O\"Neil,3", {"O\"Neil", "3"}},
        {"empty text", "", {}},
        {"just a line end", "\r\n", {""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(allItems(c.text), c.items) << c.what;
    }
}

TEST(RosterItemReader, ReadsNoFurtherThanTheItemAskedFor) {
    std::stringbuf source("Forward One,82,41\r\nrest");
    RosterItemReader reader(source);
    std::string item;
    ASSERT_TRUE(reader.readItem(item));
    EXPECT_EQ(source.sgetc(), '8');
    ASSERT_TRUE(reader.readItem(item));
    ASSERT_TRUE(reader.readItem(item));
    EXPECT_EQ(item, "41");
    EXPECT_EQ(source.sgetc(), 'r');
}

TEST(RosterItemReader, EndLeavesTheItemAsItWas) {
    std::stringbuf source("only");
    RosterItemReader reader(source);
    std::string item = "before";
    EXPECT_FALSE(reader.atEnd());
    ASSERT_TRUE(reader.readItem(item));
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.readItem(item));
    EXPECT_EQ(item, "only");
}

} // namespace
} // namespace zelkor
