#pragma once

#include <cstddef>
#include <streambuf>
#include <string>

namespace zelkor {

// Characters one item may take up, the blanks before it and anything dropped after its
// closing quote included: far more than any name or number needs, and small enough that
// no file, however large, costs more than a moment to refuse.
inline constexpr std::size_t LongestItem = 4096;

// What reading an item gave.
enum class ItemRead {
    Item,          ///< an item was read
    End,           ///< no character was left
    TooLong,       ///< the item runs past LongestItem characters
    UnclosedQuote, ///< a quoted item reaches its line end or the end without its closing quote
    Utf16,         ///< the text is UTF-16 (a UTF-16 byte-order mark or a NUL in the first bytes)
    NulCharacter,  ///< the text holds a NUL character, which no plain text does
};

// What is wrong when readItem gave result (neither Item nor End), as the end of a
// sentence about the item or the file: "the item is longer than 4096 characters". line is
// the item's, itemLine().
std::string itemReadProblem(ItemRead result, int line);

// Splits a roster file into items, one at a time, reading no further than the item asked
// for. Items are separated by commas or line ends ("\r\n", "\n" or a lone "\r", one line
// end each); a UTF-8 byte-order mark at the start is skipped; blanks before an item are
// skipped; a double-quoted item is taken without its quotes, may hold commas, and ends at
// its closing quote (whatever follows up to the next separator is dropped); two
// separators in a row give an empty item.
class RosterItemReader {
public:
    // Borrows source, which must outlive the reader.
    explicit RosterItemReader(std::streambuf& source) : source_(source) {}

    // True when no character is left.
    bool atEnd() const;

    // Reads the next item into item. Anything but ItemRead::Item leaves the reader where
    // the problem was found; at the end, item is left as it was.
    ItemRead readItem(std::string& item);

    // The line (from 1) on which the last item asked for began.
    int itemLine() const { return itemLine_; }

    // Whether the last item asked for was the first of its line.
    bool itemStartsLine() const { return itemStartsLine_; }

private:
    ItemRead readStart();
    ItemRead readQuotedRest(std::string& item);
    ItemRead readPlainRest(std::string& item);
    ItemRead skipUpToSeparator();
    void consumeSeparator();
    // Takes the next character, counting it against the item's length.
    bool take();

    std::streambuf& source_;
    bool started_ = false;
    std::size_t itemLength_ = 0;
    int line_ = 1;
    int itemLine_ = 1;
    bool atLineStart_ = true;
    bool itemStartsLine_ = true;
};

} // namespace zelkor
