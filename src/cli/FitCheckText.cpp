#include "cli/FitCheckText.h"

#include "core/DisplayText.h"

#include <cmath>
#include <iomanip>
#include <ostream>
#include <sstream>

namespace zelkor {

namespace {

constexpr int CodeWidth = 6;  // of the club column
constexpr int PairWidth = 15; // of each "3.01 / 3.00" column

// "3.00 / 3.01": the real figure, then the simulated one.
std::string pair(double real, double simulated) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(2) << real << " / " << simulated;
    return text.str();
}

} // namespace

void writeFitCheck(const FitCheckTable& table, std::ostream& out) {
    const long percent = std::lround(table.tolerance * 100);
    out << "The fit's check, goals a game, real / simulated (within " << percent << " %):\n"
        << std::left << std::setw(CodeWidth) << "Club" << std::setw(PairWidth) << "Road for"
        << std::setw(PairWidth) << "Road against" << std::setw(PairWidth) << "Home for"
        << std::setw(PairWidth) << "Home against"
        << "Within\n";
    for (const FitCheckRow& row : table.rows) {
        out << std::setw(CodeWidth) << visibleText(row.code);
        for (const VenueCheck* venue : {&row.road, &row.home}) {
            out << std::setw(PairWidth) << pair(venue->goalsFor, venue->simulatedFor)
                << std::setw(PairWidth) << pair(venue->goalsAgainst, venue->simulatedAgainst);
        }
        out << (row.within ? "yes" : "NO") << '\n';
    }
    out << std::right << table.clubsWithin << " of " << table.rows.size() << " clubs within "
        << percent << " % at both venues\n";
}

} // namespace zelkor
