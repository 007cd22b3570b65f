#include "season/TeamCodeSuggestion.h"

#include "season/TeamCodes.h"
#include "season/TeamDirectory.h"

namespace zelkor {

std::optional<std::string> suggestedTeamCode(std::string_view code, const RatingTable& table,
                                             bool visiting) {
    const auto rated = [&table, visiting](const std::string& candidate) {
        return visiting ? table.canVisit(candidate) : table.canHost(candidate);
    };
    if (code.empty() || rated(std::string(code))) {
        return std::nullopt;
    }
    // The league's code first, then the program's for it, then the old abbreviations'.
    const std::optional<std::string> league = leagueCodeFor(code);
    std::optional<std::string> candidates[] = {
        league, league ? programCodeForLeague(*league) : std::nullopt, teamCodeFor(code)};
    for (const std::optional<std::string>& candidate : candidates) {
        if (candidate && *candidate != code && rated(*candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::string teamCodeSuggestionText(std::string_view code, const RatingTable& table, bool visiting) {
    const std::optional<std::string> suggestion = suggestedTeamCode(code, table, visiting);
    return suggestion ? " (did you mean " + *suggestion + "?)" : std::string();
}

} // namespace zelkor
