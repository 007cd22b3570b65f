#include "engine/InputChecks.h"

#include "core/DisplayText.h"
#include "teamdata/TeamRatings.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace zelkor {

namespace {

// A code's invisible characters at either end, in words; empty when there are none.
std::string invisibleEnds(std::string_view code) {
    const auto describe = [](char c) -> std::string {
        switch (c) {
        case ' ':
            return "a blank";
        case '\t':
            return "a tab";
        case '\r':
            return "a carriage return";
        case '\n':
            return "a line feed";
        default:
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? "a control character" : "";
        }
    };
    std::string notes;
    if (const std::string first = describe(code.front()); !first.empty()) {
        notes = first + " at the start";
    }
    if (const std::string last = describe(code.back()); !last.empty()) {
        notes += (notes.empty() ? "" : " and ") + last + " at the end";
    }
    return notes.empty() ? notes : " (" + notes + ")";
}

// The code with its small letters made capitals.
std::string capitals(std::string_view code) {
    std::string upper(code);
    for (char& c : upper) {
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return upper;
}

// A code typed in small letters that names a team in capitals ("tor" for TOR) is offered,
// not taken: the roster files are named by the exact code.
std::string unknownTeam(const char* side, std::string_view code, bool capitalsKnown) {
    const std::string upper = capitals(code);
    const std::string offer =
        capitalsKnown && upper != code ? " (did you mean " + upper + "?)" : "";
    return std::string("Unknown ") + side + " team \"" + quotedText(code) + "\"" +
           invisibleEnds(code) + offer;
}

std::string separatorName(std::string_view separator) {
    if (separator == ",") {
        return "a comma";
    }
    if (separator == ".") {
        return "a full stop";
    }
    return "\"" + quotedText(separator) + "\"";
}

} // namespace

std::optional<InputRefusal> faceOffRefusal(const PredictionState& state,
                                           std::string_view visitorGaaText,
                                           std::string_view homeGaaText,
                                           const RatingTable& ratings) {
    // Both texts are always tested; a text of blanks is not empty.
    const bool visitorGaaEmpty = visitorGaaText.empty();
    const bool homeGaaEmpty = homeGaaText.empty();
    if (visitorGaaEmpty || homeGaaEmpty) {
        return InputRefusal{MustEnterGaaMessage,
                            visitorGaaEmpty ? InputField::VisitorGaa : InputField::HomeGaa,
                            RefusalKind::GaaMissing};
    }
    if (state.VISITOR.empty()) {
        return InputRefusal{"You must enter the visiting team", InputField::VisitorTeam,
                            RefusalKind::TeamMissing};
    }
    if (state.HOME.empty()) {
        return InputRefusal{"You must enter the home team", InputField::HomeTeam,
                            RefusalKind::TeamMissing};
    }
    if (!ratings.canVisit(state.VISITOR)) {
        return InputRefusal{
            unknownTeam("visiting", state.VISITOR, ratings.canVisit(capitals(state.VISITOR))),
            InputField::VisitorTeam, RefusalKind::TeamUnknown};
    }
    if (!ratings.canHost(state.HOME)) {
        return InputRefusal{unknownTeam("home", state.HOME, ratings.canHost(capitals(state.HOME))),
                            InputField::HomeTeam, RefusalKind::TeamUnknown};
    }
    if (!isUsableGaa(state.GAAV)) {
        return InputRefusal{ValueAboveZeroMessage, InputField::VisitorGaa,
                            RefusalKind::GaaNotAboveZero};
    }
    if (!isUsableGaa(state.GAAH)) {
        return InputRefusal{ValueAboveZeroMessage, InputField::HomeGaa,
                            RefusalKind::GaaNotAboveZero};
    }
    return std::nullopt;
}

GaaProblem gaaProblem(double value) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? GaaProblem::NotANumber : GaaProblem::TooLarge;
    }
    if (value <= 0) {
        return GaaProblem::NotAboveZero;
    }
    if (value >= detail::SingleOverflowLimit) {
        return GaaProblem::TooLarge;
    }
    // Below the normal singles the goalie factor, which divides by it, overflows.
    if (static_cast<Single>(value) < std::numeric_limits<Single>::min()) {
        return GaaProblem::TooSmall;
    }
    return GaaProblem::None;
}

GaaEntry gaaEntry(Single value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return {std::string(text, end), value};
}

bool isUsableGaa(Single value) {
    return std::isfinite(value) && value > 0;
}

GaaReading readGaa(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (stop != end || text.empty()) {
        return {};
    }
    if (error == std::errc::result_out_of_range) {
        // Beyond even a double: a huge number, or a tiny one with a negative exponent.
        const bool tiny =
            text.find("e-") != std::string_view::npos || text.find("E-") != std::string_view::npos;
        const bool negative = text.front() == '-';
        return {0, negative ? GaaProblem::NotAboveZero
                            : (tiny ? GaaProblem::TooSmall : GaaProblem::TooLarge)};
    }
    if (error != std::errc{}) {
        return {};
    }
    // from_chars also reads "inf" and "nan", which no goalie's average can be.
    if (std::isnan(value) || std::isinf(value)) {
        return {};
    }
    const GaaProblem problem = gaaProblem(value);
    return {problem == GaaProblem::None ? static_cast<Single>(value) : Single{0}, problem};
}

std::string notANumberMessage(std::string_view text, std::string_view decimalSeparator) {
    return "\"" + quotedText(text) + "\" is not a number; write the decimals after " +
           separatorName(decimalSeparator) + ", as in 2" + std::string(decimalSeparator) + "75";
}

std::string gaaProblemText(GaaProblem problem, std::string_view text) {
    const std::string quoted = "'" + quotedText(text) + "'";
    switch (problem) {
    case GaaProblem::None:
        break;
    case GaaProblem::NotANumber:
        return quoted + " is not a number like 2.75";
    case GaaProblem::TooSmall:
        return quoted + " is too small for a goals-against average";
    case GaaProblem::TooLarge:
        return quoted + " is too large for a goals-against average";
    case GaaProblem::NotAboveZero:
        return quoted + " is not above 0";
    }
    return quoted;
}

} // namespace zelkor
