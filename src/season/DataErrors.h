#pragma once

#include "core/Errors.h"

namespace zelkor {

// A data file given to a tool (statistics, results) cannot be opened or read.
class InputFileError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// A data file was read but its content cannot be used: a missing column, a value that is
// not a number, a team with too few players.
class InputDataError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

} // namespace zelkor
