#pragma once

#include <string>
#include <string_view>

namespace zelkor::ui {

// The fixed text of the ReadMe window. Every line, the last one too, ends in CR LF.
std::string_view helpText();

// The help text with a note, after the first paragraph of its installation section, of the
// folder the team data files are read from, and a paragraph on the Odds window at its end.
std::string helpTextWithRosterFolder(std::string_view folder);

// The same note for a season folder, which holds the ratings beside the team data files.
std::string helpTextWithSeasonFolder(std::string_view folder);

} // namespace zelkor::ui
