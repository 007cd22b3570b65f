#pragma once

#include <stdexcept>
#include <string>

namespace zelkor {

// Every error the engine raises derives from this one; its message is written for the
// user: what went wrong and where (file, team, player row, step).
class ZelkorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A floating-point step divided by zero, produced an invalid result or left the range of
// a single-precision value.
class ArithmeticError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// A 16-bit Integer left the range -32768 to 32767, or a number too large for a
// single-precision value was read.
class OverflowError : public ArithmeticError {
public:
    using ArithmeticError::ArithmeticError;
};

// A player array or roster table was indexed outside its bounds.
class SubscriptError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// A roster file could not be opened: missing (or its folder), refused by the system, not a
// regular file, or an unusable name.
class RosterFileMissingError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// A roster file was opened but reading it failed (a disk or network error).
class RosterFileReadError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// A roster file ran out before its 72nd item.
class RosterFileShortError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// A roster file was read but its contents cannot be used (not plain text, an item too long
// or with an unclosed quote, a negative count, assists adding up to 0).
class RosterDataError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// A roster file cannot be written, or would replace one that the user did not ask to replace.
class RosterWriteError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

} // namespace zelkor
