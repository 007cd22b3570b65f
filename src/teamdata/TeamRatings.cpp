#include "teamdata/TeamRatings.h"

#include <algorithm>
#include <array>

namespace zelkor {

namespace {

// The visiting team's ratings: offence, penalty, power play, short-handed, defence.
constexpr std::array<TeamRatingRow, 32> roadRows{{
    {"ANA", {0.55f, 0.1891f, 0.9333f, 0.2612f, 0.71f}},
    {"ATL", {0.84f, 0.2648f, 0.6606f, 1.0156f, 0.91f}},
    {"BOS", {0.71f, 0.2381f, 0.9273f, 1.0446f, 0.9f}},
    {"BUF", {0.65f, 0.2141f, 0.7697f, 0.5078f, 0.86f}},
    {"CAL", {0.77f, 0.2381f, 1.0971f, 0.0001f, 0.82f}},
    {"CAR", {0.69f, 0.1971f, 1.0424f, 0.7617f, 0.77f}},
    {"CBJ", {0.86f, 0.2141f, 0.6606f, 0.5078f, 0.83f}},
    {"CHI", {0.77f, 0.1704f, 0.7758f, 1.7293f, 0.75f}},
    {"COL", {0.64f, 0.1972f, 1.4485f, 0.8065f, 0.81f}},
    {"DAL", {0.66f, 0.1676f, 1.1152f, 0.2539f, 0.8284f}},
    {"DET", {0.62f, 0.1836f, 1.3939f, 0.9882f, 0.78f}},
    {"EDM", {0.63f, 0.2194f, 0.8971f, 1.7773f, 1.0f}},
    {"FLO", {0.64f, 0.2616f, 0.9697f, 0.7411f, 0.87f}},
    {"LAK", {0.63f, 0.2113f, 1.1031f, 0.9882f, 0.73f}},
    {"MIN", {0.65f, 0.1986f, 0.5818f, 0.7617f, 0.65f}},
    {"MON", {0.77f, 0.1792f, 0.9333f, 1.0156f, 1.04f}},
    {"NAS", {0.61f, 0.1548f, 0.7455f, 0.5078f, 0.71f}},
    {"NJD", {0.69f, 0.2028f, 1.1879f, 1.5234f, 0.8f}},
    {"NYI", {0.75f, 0.2296f, 0.8364f, 2.2159f, 0.92f}},
    {"NYR", {0.67f, 0.2493f, 1.1152f, 1.3058f, 0.92f}},
    {"OTT", {0.73f, 0.1831f, 1.0242f, 0.8065f, 0.83f}},
    {"PHI", {0.88f, 0.2042f, 0.8061f, 1.5669f, 0.96f}},
    {"PHO", {0.7333f, 0.2264f, 0.9333f, 0.5078f, 0.7392f}},
    {"PIT", {0.77f, 0.2639f, 1.0667f, 1.0156f, 0.69f}},
    {"SJS", {0.72f, 0.2366f, 0.8242f, 0.4941f, 0.68f}},
    {"SLB", {0.7f, 0.2347f, 0.8667f, 1.9763f, 0.89f}},
    {"TBL", {0.97f, 0.2306f, 0.6182f, 0.9882f, 1.01f}},
    {"TOR", {0.67f, 0.2466f, 0.9031f, 0.0001f, 0.78f}},
    {"VAN", {0.59f, 0.1903f, 1.0182f, 2.0892f, 0.88f}},
    {"WAS", {0.78f, 0.1861f, 1.0364f, 1.0446f, 0.91f}},
    {"AVG", {0.6569f, 0.2128f, 0.9394f, 1.0399f, 0.857f}},
    {"NAT", {1.0f, 0.2385f, 0.9969f, 1.2194f, 1.0f}},
}};

// The home team's ratings, in the same column order.
constexpr std::array<TeamRatingRow, 32> homeRows{{
    {"ANA", {0.9f, 0.1889f, 1.0848f, 0.9622f, 1.12f}},
    {"ATL", {0.89f, 0.2648f, 1.0848f, 1.3058f, 1.04f}},
    {"BOS", {1.02f, 0.2379f, 1.1152f, 1.0156f, 1.08f}},
    {"BUF", {0.93f, 0.2141f, 1.1273f, 0.7835f, 1.2f}},
    {"CAL", {1.03f, 0.2379f, 1.2303f, 0.5223f, 1.0333f}},
    {"CAR", {1.04f, 0.1971f, 0.9455f, 0.8065f, 1.11f}},
    {"CBJ", {1.22f, 0.2141f, 0.7455f, 0.2612f, 1.03f}},
    {"CHI", {0.86f, 0.1704f, 0.8242f, 1.3442f, 1.22f}},
    {"COL", {0.9f, 0.1972f, 1.1758f, 1.4822f, 1.06f}},
    {"DAL", {0.8f, 0.1676f, 1.1333f, 1.0446f, 1.09f}},
    {"DET", {1.09f, 0.1836f, 1.2485f, 1.0156f, 1.22f}},
    {"EDM", {0.99f, 0.2194f, 0.7758f, 1.2695f, 0.9f}},
    {"FLO", {0.98f, 0.2616f, 0.7212f, 1.0156f, 1.02f}},
    {"LAK", {0.78f, 0.2113f, 1.3152f, 1.6131f, 1.17f}},
    {"MIN", {1.44f, 0.1986f, 0.6303f, 2.0892f, 1.44f}},
    {"MON", {0.65f, 0.1792f, 1.0727f, 0.2539f, 0.84f}},
    {"NAS", {0.97f, 0.1548f, 1.4485f, 1.2352f, 1.35f}},
    {"NJD", {0.81f, 0.2028f, 0.9697f, 0.5223f, 1.13f}},
    {"NYI", {0.71f, 0.2296f, 0.8364f, 0.0001f, 1.0f}},
    {"NYR", {0.69f, 0.2493f, 1.0485f, 1.2695f, 1.0f}},
    {"OTT", {1.06f, 0.1831f, 1.1273f, 1.7293f, 1.23f}},
    {"PHI", {0.93f, 0.2042f, 1.1394f, 0.7411f, 0.97f}},
    {"PHO", {0.79f, 0.2264f, 1.0969f, 1.5234f, 1.09f}},
    {"PIT", {0.97f, 0.2639f, 1.2909f, 0.7617f, 1.17f}},
    {"SJS", {0.88f, 0.2366f, 0.8788f, 1.3442f, 1.39f}},
    {"SLB", {0.89f, 0.2347f, 1.2848f, 1.8281f, 0.82f}},
    {"TBL", {1.03f, 0.2306f, 0.8485f, 1.3058f, 1.1f}},
    {"TOR", {0.7858f, 0.2466f, 0.8909f, 0.4941f, 1.01f}},
    {"VAN", {0.91f, 0.1903f, 1.1273f, 0.9882f, 1.08f}},
    {"WAS", {0.9f, 0.1861f, 1.5333f, 0.4941f, 1.04f}},
    {"AVG", {1.0057f, 0.2128f, 1.0545f, 1.0676f, 1.0634f}},
    {"WAT", {1.0f, 0.2385f, 0.9969f, 1.2195f, 1.0f}},
}};

// The first row whose code equals code exactly, or nullptr. No row has an empty code,
// so the empty code finds nothing.
const TeamRatingRow* findRow(std::span<const TeamRatingRow> rows, std::string_view code) {
    const auto found = std::find_if(rows.begin(), rows.end(),
                                    [code](const TeamRatingRow& row) { return row.code == code; });
    return found == rows.end() ? nullptr : &*found;
}

} // namespace

std::span<const TeamRatingRow> roadRatingTable() {
    return roadRows;
}

std::span<const TeamRatingRow> homeRatingTable() {
    return homeRows;
}

bool isRoadTeamCode(std::string_view code) {
    return findRow(roadRows, code) != nullptr;
}

bool isHomeTeamCode(std::string_view code) {
    return findRow(homeRows, code) != nullptr;
}

void LoadTeamRatings(PredictionState& state) {
    if (const TeamRatingRow* road = findRow(roadRows, state.VISITOR)) {
        state.OFFR = road->rating.offence;
        state.PENR = road->rating.penalty;
        state.PPR = road->rating.powerPlay;
        state.SHR = road->rating.shortHanded;
        state.DEFR = road->rating.defence;
    }
    if (const TeamRatingRow* home = findRow(homeRows, state.HOME)) {
        state.OFFH = home->rating.offence;
        state.PENH = home->rating.penalty;
        state.PPH = home->rating.powerPlay;
        state.SHH = home->rating.shortHanded;
        state.DEFH = home->rating.defence;
    }
}

} // namespace zelkor
