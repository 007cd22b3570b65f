#pragma once

#include "odds/OddsFigures.h"
#include "odds/OddsTally.h"
#include "ui/SeasonInUse.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QList>
#include <QString>
#include <QWidget>

class QBarSet;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QValueAxis;

namespace zelkor::ui {

class OddsRun;
class ScoreHeatMap;

// What the Odds window starts from: the main window's entries as they stand.
struct OddsInputs {
    QString visitor;
    QString home;
    QString visitorGaa;
    QString homeGaa;
};

// The Odds window: plays many series of one pairing off the user-interface thread and
// shows what they add up to, updated as the run goes. It deletes itself when closed,
// stopping a run that is still going.
class OddsWindow : public QWidget {
    Q_OBJECT

public:
    // Series a run plays unless the user asks for another number.
    static constexpr int DefaultSeries = 100'000;

    OddsWindow(const OddsInputs& start, SeasonInUse season, QWidget* parent = nullptr);

    // Runs from now on play the season's teams; a run going plays on with the one it had.
    void useSeason(SeasonInUse season);

    // The counts shown, those of the run so far while one is going; none before the first.
    const std::optional<OddsTally>& shownTally() const { return shown_; }

    // Every figure shown, table by table under its title, as CSV.
    QString figuresCsv() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildInputs();
    QWidget* buildOutcomes();
    QWidget* buildMoneyLine();
    QWidget* buildGoals();
    QWidget* buildBettingLines();
    QWidget* buildScoreMap();
    QWidget* buildTotalGoals();
    QWidget* buildMoneyLines();
    QWidget* buildScorers(QTableWidget*& table, const char* name, const QString& title);

    void startRun();
    void cancelRun();
    void runProgressed(const OddsTally& soFar);
    void runFinished(const OddsTally& tally);
    void runCancelled();
    void runFailed(const QString& message);
    void setRunning(bool running);
    void showMessage(const QString& message, QWidget* field);
    static QString acceptedOdds();
    static QString edgeNoteText();

    // What a run was asked for, to tell when the figures shown are of another.
    struct RunInputs {
        QString visitor;
        QString home;
        QString visitorGaa;
        QString homeGaa;
        int season = 0;
        bool operator==(const RunInputs&) const = default;
    };
    RunInputs currentInputs() const;
    // Figures shown while the inputs are no longer those of their run.
    bool figuresOfPreviousRun() const;
    void inputsChanged();
    void setStatus(const QString& text);

    void showTally(const OddsTally& tally);
    void showOutcomes(const OddsTally& tally, const OddsFigures& figures);
    void showFairOdds(const OddsFigures& figures);
    void showGoals(const OddsTally& tally, const OddsFigures& figures);
    void showTotalGoals(const OddsTally& tally);
    void showMoneyLines(const OddsTally& tally, const OddsFigures& figures);
    void showBettingLines();
    void showSeasonName();
    void showStaleness(bool previous);
    void exportFigures();
    void showScorers(QTableWidget* table, const std::array<PlayerTally, PlayersPerTeam>& players,
                     const std::array<ScorerFigures, PlayersPerTeam>& ranked);
    void showEdges();

    SeasonInUse season_;
    OddsRun* run_ = nullptr;
    std::optional<OddsTally> shown_;
    std::uint64_t asked_ = 0;       // series of the run going or last run
    std::uint64_t baseSeed_ = 0;    // its base seed
    RunInputs shownInputs_;         // those of the figures shown
    int seasonsUsed_ = 0;           // seasons taken by useSeason
    bool runShootouts_ = false;     // the run going or last run decided level games so
    std::string shownRatings_;      // where its ratings came from, as reports name them
    QString runStatus_;             // the status line of the run, when its figures are current
    QList<QWidget*> figureWidgets_; // greyed while they are of the previous run

    QComboBox* visitorTeam_ = nullptr;
    QComboBox* homeTeam_ = nullptr;
    QLineEdit* visitorGaa_ = nullptr;
    QLineEdit* homeGaa_ = nullptr;
    QSpinBox* seriesCount_ = nullptr;
    QLineEdit* seed_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QLabel* seasonName_ = nullptr;
    QWidget* inputsArea_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;

    QTableWidget* outcomes_ = nullptr;
    QLabel* visitorName_ = nullptr;
    QLabel* homeName_ = nullptr;
    QLabel* visitorFair_[3] = {}; // implied, decimal, American
    QLabel* homeFair_[3] = {};
    QLineEdit* visitorOffered_ = nullptr;
    QLineEdit* homeOffered_ = nullptr;
    QLabel* visitorEdge_ = nullptr;
    QLabel* homeEdge_ = nullptr;
    QLabel* edgeNote_ = nullptr;
    QLabel* modelTest_ = nullptr; // how the season's model did against the market, if tested
    QTableWidget* goals_ = nullptr;
    QTableWidget* bettingLines_ = nullptr;
    std::vector<QLineEdit*> lineOffered_; // the bookmaker's odds of each betting line
    std::vector<int> lineRows_;           // the table's row of each betting line
    ScoreHeatMap* scoreMap_ = nullptr;
    QChartView* totalGoals_ = nullptr;
    QBarSet* totalGoalsBars_ = nullptr;
    QValueAxis* totalGoalsAxis_ = nullptr;
    QTableWidget* moneyLines_ = nullptr;
    QTableWidget* visitorScorers_ = nullptr;
    QTableWidget* homeScorers_ = nullptr;
};

} // namespace zelkor::ui
