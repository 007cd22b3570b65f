#pragma once

#include "core/PredictionState.h"
#include "core/WindowServices.h"
#include "engine/InputChecks.h"
#include "engine/Predictor.h"
#include "ui/SeasonInUse.h"

#include <filesystem>
#include <string>
#include <string_view>

#include <QMainWindow>
#include <QPointer>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace zelkor::ui {

class OddsWindow;
class SeasonOutlookWindow;
class ReadMeWindow;

// The prediction window (frmMain). It owns the one PredictionState for the life of the
// program and gives the engine the window services; its handlers only move data between
// the widgets and the engine.
class MainWindow : public QMainWindow, public WindowServices {
    Q_OBJECT

public:
    // rosterFolder: where the face-off run finds the roster files of the built-in season.
    explicit MainWindow(std::filesystem::path rosterFolder, QWidget* parent = nullptr);
    // Closes the ReadMe and Odds windows, which have no owner, so that no run outlives the
    // program.
    ~MainWindow() override;

    const PredictionState& state() const { return predictor_.state(); }
    // The log as the engine wrote it, line ends included.
    const std::string& logText() const { return log_; }
    const SeasonInUse& season() const { return season_; }

    // Opens the season chosen in the last run; when its folder can no longer be used, says
    // why and keeps the built-in season.
    void restoreSeason();
    // Makes the folder's season the one in use, or says why it cannot be; true when it is.
    bool openSeasonFolder(const std::filesystem::path& folder);

    void beep() override;
    std::string visitorGaaText() const override;
    std::string homeGaaText() const override;
    void showMessage(const std::string& message) override;
    void clearLog() override;
    void appendLog(std::string_view line) override;
    void setVisitorAverage(const std::string& text) override;
    void setHomeAverage(const std::string& text) override;
    void setMoneyLine(const std::string& caption) override;
    std::string decimalSeparator() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildSeasonMenu();
    void buildControls(QWidget* client);
    void setFocusOrder();

    void faceOff();
    void openReadMe();
    void openOdds();
    void useBuiltInSeason();
    void chooseSeasonFolder();
    void seasonItemChosen(QAction* item);
    void openSeasonBuild();
    void openSeasonOutlook();
    void useSeason(SeasonInUse season);
    void showRecentSeasons(const QStringList& recent);
    void showTeamCodes();
    void showSeasonName();
    void teamBoxLeft(const QComboBox* box, std::string& code);
    void gaaBoxLeft(QLineEdit* box, Single& gaa);
    void returnFocusTo(QWidget* box);
    void returnFocusAfter(const InputRefusal& refusal);

    Predictor predictor_; // holds the one prediction state
    std::filesystem::path builtInRosters_;
    SeasonInUse season_;

    // The log is built here and shown once the run is over, so that a series does not
    // rewrite the widget once per line.
    std::string log_;
    bool logChanged_ = false;

    QComboBox* cboVisitor_ = nullptr;
    QComboBox* cboHome_ = nullptr;
    QLineEdit* txtGAAV_ = nullptr;
    QLineEdit* txtGAAH_ = nullptr;
    QLineEdit* txtResultVisitor_ = nullptr;
    QLineEdit* txtResultHome_ = nullptr;
    QLabel* lblBet_ = nullptr;
    QPushButton* CmdGo_ = nullptr;
    QPlainTextEdit* txtResults_ = nullptr;
    QAction* builtInSeasonItem_ = nullptr;
    QMenu* seasonMenu_ = nullptr;
    QLabel* seasonName_ = nullptr;
    QList<QAction*> recentSeasonItems_;

    QPointer<ReadMeWindow> readMe_;
    QPointer<OddsWindow> odds_;
    QPointer<SeasonOutlookWindow> outlook_;
};

} // namespace zelkor::ui
