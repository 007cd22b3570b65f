#pragma once

#include <streambuf>
#include <string>

namespace zelkor {

// Splits a roster file into items, one at a time, reading no further than the item asked
// for. Items are separated by commas or line ends ("\r\n", "\n" or a lone "\r", one line
// end each); blanks before an item are skipped; a double-quoted item is taken without its
// quotes, may hold commas, and ends at its closing quote (whatever follows up to the next
// separator is dropped) or at the line end; two separators in a row give an empty item.
class RosterItemReader {
public:
    // Borrows source, which must outlive the reader.
    explicit RosterItemReader(std::streambuf& source) : source_(source) {}

    // True when no character is left.
    bool atEnd() const;

    // Reads the next item into item and returns true; at the end of the source returns
    // false and leaves item as it was.
    bool readItem(std::string& item);

private:
    void readQuotedRest(std::string& item);
    void readPlainRest(std::string& item);
    void skipUpToSeparator();
    void consumeSeparator();

    std::streambuf& source_;
};

} // namespace zelkor
