#include "teamdata/RosterItemReader.h"

namespace zelkor {

namespace {

using Traits = std::streambuf::traits_type;

constexpr char Blank = ' ';
constexpr char Quote = '"';
constexpr char Comma = ',';
constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';
constexpr Traits::int_type Nul = 0;

// The bytes of the byte-order marks a text editor may put at the start of a file.
constexpr Traits::int_type Utf8Mark[] = {0xef, 0xbb, 0xbf};
constexpr Traits::int_type Utf16LittleEndianMark[] = {0xff, 0xfe};
constexpr Traits::int_type Utf16BigEndianMark[] = {0xfe, 0xff};

bool isEnd(Traits::int_type c) {
    return Traits::eq_int_type(c, Traits::eof());
}

bool isLineEnd(Traits::int_type c) {
    return c == Traits::to_int_type(CarriageReturn) || c == Traits::to_int_type(LineFeed);
}

bool isSeparator(Traits::int_type c) {
    return c == Traits::to_int_type(Comma) || isLineEnd(c);
}

} // namespace

bool RosterItemReader::atEnd() const {
    return isEnd(source_.sgetc());
}

ItemRead RosterItemReader::readItem(std::string& item) {
    if (!started_) {
        started_ = true;
        if (const ItemRead start = readStart(); start != ItemRead::Item) {
            return start;
        }
    }
    if (atEnd()) {
        return ItemRead::End;
    }
    item.clear();
    itemLength_ = 0;
    itemLine_ = line_;
    itemStartsLine_ = atLineStart_;
    while (source_.sgetc() == Traits::to_int_type(Blank)) {
        if (!take()) {
            return ItemRead::TooLong;
        }
    }
    ItemRead result = ItemRead::Item;
    if (source_.sgetc() == Traits::to_int_type(Quote)) {
        result = take() ? readQuotedRest(item) : ItemRead::TooLong;
    } else {
        result = readPlainRest(item);
    }
    if (result == ItemRead::Item) {
        consumeSeparator();
    }
    return result;
}

ItemRead RosterItemReader::readStart() {
    const auto first = source_.sgetc();
    if (isEnd(first)) {
        return ItemRead::Item;
    }
    source_.sbumpc();
    const auto second = source_.sgetc();
    // Text in UTF-16 has a NUL in every other byte, the high half of each ASCII character.
    if ((first == Utf16LittleEndianMark[0] && second == Utf16LittleEndianMark[1]) ||
        (first == Utf16BigEndianMark[0] && second == Utf16BigEndianMark[1]) || first == Nul ||
        second == Nul) {
        return ItemRead::Utf16;
    }
    if (first == Utf8Mark[0] && second == Utf8Mark[1]) {
        source_.sbumpc();
        if (source_.sgetc() == Utf8Mark[2]) {
            source_.sbumpc();
            return ItemRead::Item;
        }
        source_.sungetc();
    }
    source_.sungetc();
    return ItemRead::Item;
}

ItemRead RosterItemReader::readQuotedRest(std::string& item) {
    // A quote must close on its own line: one stray quote would otherwise shift every
    // later field of the file unseen.
    for (auto c = source_.sgetc();; c = source_.sgetc()) {
        if (isEnd(c) || isLineEnd(c)) {
            return ItemRead::UnclosedQuote;
        }
        if (c == Nul) {
            return ItemRead::NulCharacter;
        }
        if (!take()) {
            return ItemRead::TooLong;
        }
        if (c == Traits::to_int_type(Quote)) {
            return skipUpToSeparator();
        }
        item.push_back(Traits::to_char_type(c));
    }
}

ItemRead RosterItemReader::readPlainRest(std::string& item) {
    for (auto c = source_.sgetc(); !isEnd(c) && !isSeparator(c); c = source_.sgetc()) {
        if (c == Nul) {
            return ItemRead::NulCharacter;
        }
        if (!take()) {
            return ItemRead::TooLong;
        }
        item.push_back(Traits::to_char_type(c));
    }
    return ItemRead::Item;
}

ItemRead RosterItemReader::skipUpToSeparator() {
    for (auto c = source_.sgetc(); !isEnd(c) && !isSeparator(c); c = source_.sgetc()) {
        if (c == Nul) {
            return ItemRead::NulCharacter;
        }
        if (!take()) {
            return ItemRead::TooLong;
        }
    }
    return ItemRead::Item;
}

void RosterItemReader::consumeSeparator() {
    const auto c = source_.sbumpc();
    atLineStart_ = isLineEnd(c);
    if (atLineStart_) {
        ++line_;
    }
    if (c == Traits::to_int_type(CarriageReturn) &&
        source_.sgetc() == Traits::to_int_type(LineFeed)) {
        source_.sbumpc();
    }
}

bool RosterItemReader::take() {
    if (itemLength_ == LongestItem) {
        return false;
    }
    ++itemLength_;
    source_.sbumpc();
    return true;
}

std::string itemReadProblem(ItemRead result, int line) {
    switch (result) {
    case ItemRead::TooLong:
        return "the item is longer than " + std::to_string(LongestItem) + " characters";
    case ItemRead::UnclosedQuote:
        return "the quote opened on line " + std::to_string(line) + " is never closed";
    case ItemRead::Utf16:
        return "not plain text (UTF-16): save it as plain text";
    case ItemRead::NulCharacter:
        return "not plain text (line " + std::to_string(line) +
               " holds a NUL character): save it as plain text";
    case ItemRead::Item:
    case ItemRead::End:
        break;
    }
    return {};
}

} // namespace zelkor
