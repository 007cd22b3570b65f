#pragma once

#include "core/Arithmetic.h"
#include "core/Errors.h"
#include "core/PredictionState.h"
#include "teamdata/RatingTable.h"

#include <optional>
#include <string>
#include <string_view>

namespace zelkor {

// The messages of the input checks, exactly as the user sees them.
inline constexpr const char* MustEnterGaaMessage = "You must enter GAA";
inline constexpr const char* ValueAboveZeroMessage = "You must enter a value above 0";

// The input a refusal is about, so that a window can put the focus back there.
enum class InputField { VisitorTeam, HomeTeam, VisitorGaa, HomeGaa };

// What is wrong with that input. A missing GAA leaves the focus where it is; a GAA not
// above 0 may be a text the window's locale reads as no number, which it says instead.
enum class RefusalKind { GaaMissing, TeamMissing, TeamUnknown, GaaNotAboveZero };

struct InputRefusal {
    std::string message;
    InputField field;
    RefusalKind kind;
};

// Inputs refused where a refusal is thrown rather than shown (a run of many series).
class InputRefusedError : public ZelkorError {
public:
    explicit InputRefusedError(InputRefusal refusal)
        : ZelkorError(refusal.message), field_(refusal.field), kind_(refusal.kind) {}
    InputField field() const { return field_; }
    RefusalKind kind() const { return kind_; }

private:
    InputField field_;
    RefusalKind kind_;
};

// A GAA as the user typed it and the value it was read as; both are checked, the text for
// being there at all, the value for being above 0.
struct GaaEntry {
    std::string text;
    Single value = 0;
};

// The GAA with the text a user would have typed for it: the shortest that reads back as
// value.
GaaEntry gaaEntry(Single value);

// Why the inputs cannot start a face-off, or nothing when they can. The GAA texts are
// the boxes' texts as shown; the values are the state's. Checked before anything
// changes: a prediction on another team's ratings, an empty code or a goalie average
// that the factors divide by would be plainly wrong. The codes are looked up in ratings,
// the table the face-off will use.
std::optional<InputRefusal> faceOffRefusal(const PredictionState& state,
                                           std::string_view visitorGaaText,
                                           std::string_view homeGaaText,
                                           const RatingTable& ratings = *RatingTable::builtin());

// What is wrong with a goals-against average read as a real.
enum class GaaProblem { None, NotANumber, TooSmall, TooLarge, NotAboveZero };

// A real that can be stored as an average: finite, in the single range, a normal single
// (the goalie factor divides by it) and above 0.
GaaProblem gaaProblem(double value);

// A value already stored as a Single: finite and above 0.
bool isUsableGaa(Single value);

// A GAA text with a full stop as decimal point, whatever the locale (the command line's
// form): the whole text must be the number.
struct GaaReading {
    Single value = 0;
    GaaProblem problem = GaaProblem::NotANumber;
};
GaaReading readGaa(std::string_view text);

// The window's message for a GAA text that is no number with its decimal separator, which
// it names: "2.60" typed where decimals follow a comma.
std::string notANumberMessage(std::string_view text, std::string_view decimalSeparator);

// What is wrong with text, in words, for a message that names it ("'0' is not above 0").
std::string gaaProblemText(GaaProblem problem, std::string_view text);

} // namespace zelkor
