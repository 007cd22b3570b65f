#include "teamdata/RosterItemReader.h"

namespace zelkor {

namespace {

using Traits = std::streambuf::traits_type;

constexpr char Blank = ' ';
constexpr char Quote = '"';
constexpr char Comma = ',';
constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';

bool isLineEnd(Traits::int_type c) {
    return c == Traits::to_int_type(CarriageReturn) || c == Traits::to_int_type(LineFeed);
}

bool isSeparator(Traits::int_type c) {
    return c == Traits::to_int_type(Comma) || isLineEnd(c);
}

} // namespace

bool RosterItemReader::atEnd() const {
    return Traits::eq_int_type(source_.sgetc(), Traits::eof());
}

bool RosterItemReader::readItem(std::string& item) {
    if (atEnd()) {
        return false;
    }
    item.clear();
    while (source_.sgetc() == Traits::to_int_type(Blank)) {
        source_.sbumpc();
    }
    if (source_.sgetc() == Traits::to_int_type(Quote)) {
        source_.sbumpc();
        readQuotedRest(item);
    } else {
        readPlainRest(item);
    }
    consumeSeparator();
    return true;
}

void RosterItemReader::readQuotedRest(std::string& item) {
    // A missing closing quote ends the item at the line end, so that one stray quote
    // cannot swallow the rest of the file.
    for (auto c = source_.sgetc(); !Traits::eq_int_type(c, Traits::eof()) && !isLineEnd(c);
         c = source_.snextc()) {
        if (c == Traits::to_int_type(Quote)) {
            source_.sbumpc();
            skipUpToSeparator();
            return;
        }
        item.push_back(Traits::to_char_type(c));
    }
}

void RosterItemReader::readPlainRest(std::string& item) {
    for (auto c = source_.sgetc(); !Traits::eq_int_type(c, Traits::eof()) && !isSeparator(c);
         c = source_.snextc()) {
        item.push_back(Traits::to_char_type(c));
    }
}

void RosterItemReader::skipUpToSeparator() {
    for (auto c = source_.sgetc(); !Traits::eq_int_type(c, Traits::eof()) && !isSeparator(c);
         c = source_.snextc()) {
    }
}

void RosterItemReader::consumeSeparator() {
    const auto c = source_.sbumpc();
    if (c == Traits::to_int_type(CarriageReturn) &&
        source_.sgetc() == Traits::to_int_type(LineFeed)) {
        source_.sbumpc();
    }
}

} // namespace zelkor
