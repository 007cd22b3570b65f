#pragma once

#include <string>
#include <string_view>

namespace zelkor {

// Every reader of a user's file names a problem alike: the file, the line, the field, then
// what is wrong, as in "Results file 'p', line 4, visitor_goals: '3x' is not a whole
// number of goals."

// "Results file 'p'": the kind of file with a capital and the name as the user gave it
// (already made visible by the caller).
std::string shownFileLabel(std::string_view kind, std::string_view shownName);

// "<label>, line 4, visitor_goals: ", or "<label>, line 4: " without a field; a message
// goes on with what is wrong.
std::string filePlace(std::string_view label, int line, std::string_view field = {});

} // namespace zelkor
