#include "ui/SeasonBuildDialog.h"

#include "season/FitCheckSummary.h"
#include "season/MessageText.h"
#include "ui/BackgroundRun.h"
#include "ui/SeasonBuildRun.h"
#include "ui/WindowText.h"

#include <cmath>

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelkor::ui {

namespace {

constexpr int ProgressSteps = 1000; // the progress bar counts in tenths of a percent
constexpr int ReportLines = 10;     // lines of the build's report in view without scrolling

std::filesystem::path pathOf(const QLineEdit* box) {
    return QFile::encodeName(box->text().trimmed()).toStdString();
}

} // namespace

SeasonBuildDialog::SeasonBuildDialog(QWidget* parent)
    : QDialog(parent), run_(new SeasonBuildRun(this)) {
    setObjectName(QStringLiteral("dlgSeasonBuild"));
    setWindowTitle(QStringLiteral("Build season"));

    auto* form = new QFormLayout;
    // A path box with its Browse button, as one row of the form.
    const auto pathRow = [&](const char* name, const QString& label, const QString& hint) {
        auto* box = new QLineEdit;
        box->setObjectName(QString::fromLatin1(name));
        box->setPlaceholderText(hint);
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 50);
        auto* browse = new QPushButton(tr("Browse\u2026"));
        browse->setObjectName(QString::fromLatin1(name) + QStringLiteral("Browse"));
        browse->setAutoDefault(false);
        auto* row = new QHBoxLayout;
        row->addWidget(box, 1);
        row->addWidget(browse);
        auto* caption = new QLabel(label);
        caption->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
        caption->setBuddy(box);
        // Never narrower than its words in the font it is drawn with, whatever the style
        // squeezes, with room for the last letter's overhang.
        caption->ensurePolished();
        caption->setMinimumWidth(
            caption->fontMetrics().horizontalAdvance(QString(label).remove(QLatin1Char('&'))) +
            caption->fontMetrics().averageCharWidth());
        form->addRow(caption, row);
        inputs_ << box << browse;
        return std::pair{box, browse};
    };
    const auto [skaters, skatersBrowse] =
        pathRow("skatersFile", tr("&Skater statistics"), tr("CSV file of every team's skaters"));
    const auto [results, resultsBrowse] =
        pathRow("resultsFile", tr("&Results"), tr("CSV file of the season's games"));
    const auto [teamStats, teamStatsBrowse] =
        pathRow("teamStatsFile", tr("&Team statistics"), tr("optional"));
    const auto [folder, folderBrowse] =
        pathRow("seasonFolder", tr("Season &folder"), tr("where the rosters and ratings go"));
    skaters_ = skaters;
    results_ = results;
    teamStats_ = teamStats;
    folder_ = folder;

    before_ = new QLineEdit;
    before_->setObjectName(QStringLiteral("beforeDate"));
    before_->setPlaceholderText(tr("YYYY-MM-DD, optional: only games before it"));
    // "Bef&ore": Alt+B is the Build button's.
    form->addRow(tr("Bef&ore"), before_);
    replace_ = new QCheckBox(tr("Re&place existing files (each old one is kept as .bak)"));
    replace_->setObjectName(QStringLiteral("replaceFiles"));
    form->addRow(QString(), replace_);
    inputs_ << before_ << replace_;

    progress_ = newRunProgressBar(ProgressSteps);
    status_ = newRunStatusLine();
    buildButton_ = new QPushButton(tr("&Build"));
    buildButton_->setObjectName(QStringLiteral("buildButton"));
    buildButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("Cancel"));
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setAutoDefault(false);
    useButton_ = new QPushButton(tr("&Use this season"));
    useButton_->setObjectName(QStringLiteral("useSeasonButton"));
    useButton_->hide();
    inputs_ << buildButton_;

    report_ = new QPlainTextEdit;
    report_->setObjectName(QStringLiteral("buildReport"));
    report_->setReadOnly(true);
    report_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    report_->setFixedHeight(report_->fontMetrics().lineSpacing() * ReportLines +
                            2 * report_->frameWidth() + 8);
    report_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(buildButton_);
    buttons->addWidget(useButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progress_);
    layout->addWidget(report_);
    layout->addLayout(buttons);

    connect(skatersBrowse, &QPushButton::clicked, this,
            [this] { chooseFile(skaters_, tr("Skater statistics")); });
    connect(resultsBrowse, &QPushButton::clicked, this,
            [this] { chooseFile(results_, tr("Results")); });
    connect(teamStatsBrowse, &QPushButton::clicked, this,
            [this] { chooseFile(teamStats_, tr("Team statistics")); });
    connect(folderBrowse, &QPushButton::clicked, this, &SeasonBuildDialog::chooseFolder);
    connect(buildButton_, &QPushButton::clicked, this, &SeasonBuildDialog::startBuild);
    connect(cancelButton_, &QPushButton::clicked, this, &SeasonBuildDialog::reject);
    connect(useButton_, &QPushButton::clicked, this, &SeasonBuildDialog::accept);
    connect(run_, &SeasonBuildRun::progressed, this, &SeasonBuildDialog::buildProgressed);
    connect(run_, &SeasonBuildRun::finished, this, &SeasonBuildDialog::buildFinished);
    connect(run_, &SeasonBuildRun::cancelled, this, &SeasonBuildDialog::buildCancelled);
    connect(run_, &SeasonBuildRun::filesExist, this, &SeasonBuildDialog::filesExist);
    connect(run_, &SeasonBuildRun::failed, this, &SeasonBuildDialog::buildFailed);
}

std::filesystem::path SeasonBuildDialog::builtFolder() const {
    return built_;
}

void SeasonBuildDialog::chooseFile(QLineEdit* box, const QString& caption) {
    const QString file = QFileDialog::getOpenFileName(this, caption, box->text(),
                                                      tr("CSV files (*.csv);;All files (*)"));
    if (!file.isEmpty()) {
        box->setText(file);
    }
}

void SeasonBuildDialog::chooseFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, tr("Season folder"), folder_->text());
    if (!folder.isEmpty()) {
        folder_->setText(folder);
    }
}

void SeasonBuildDialog::startBuild() {
    SeasonBuildRequest request;
    request.skaters = pathOf(skaters_);
    request.results = pathOf(results_);
    if (!teamStats_->text().trimmed().isEmpty()) {
        request.teamStats = pathOf(teamStats_);
    }
    request.before = before_->text().trimmed().toStdString();
    request.folder = pathOf(folder_);
    request.replace = replace_->isChecked();
    requested_ = request.folder;
    built_.clear();
    progress_->setValue(0);
    status_->setText(tr("Reading the files\u2026"));
    report_->clear();
    report_->hide();
    useButton_->hide();
    buildButton_->setDefault(true);
    cancelButton_->setText(tr("Cancel"));
    setRunning(true);
    run_->start(request);
}

void SeasonBuildDialog::reject() {
    if (run_->running()) {
        run_->cancel();
        cancelButton_->setEnabled(false);
        status_->setText(tr("Stopping\u2026"));
        return;
    }
    QDialog::reject();
}

void SeasonBuildDialog::buildProgressed(const QString& stage, double done) {
    progress_->setValue(int(done * ProgressSteps));
    status_->setText(stage);
}

void SeasonBuildDialog::buildFinished(const SeasonBuildReport& report) {
    progress_->setValue(ProgressSteps);
    setRunning(false);
    status_->setText(tr("The season is built"));
    // The folder of this build, whatever the box says by the time it is used.
    built_ = requested_;
    showReport(reportText(report));
    cancelButton_->setText(tr("Close"));
    useButton_->show();
    useButton_->setDefault(true);
    useButton_->setFocus();
}

void SeasonBuildDialog::buildCancelled() {
    progress_->setValue(0);
    status_->setText(tr("Cancelled: nothing was written"));
    setRunning(false);
}

void SeasonBuildDialog::filesExist(int count) {
    progress_->setValue(0);
    setRunning(false);
    status_->setText(tr("The season was not built"));
    showReport(filesExistText(count));
    replace_->setFocus();
}

void SeasonBuildDialog::buildFailed(const QString& message) {
    progress_->setValue(0);
    status_->setText(tr("The season was not built"));
    setRunning(false);
    // In the dialog's own scrolled box: a refusal may list many problems.
    showReport(message);
    report_->setFocus();
}

void SeasonBuildDialog::showReport(const QString& text) {
    report_->setPlainText(text);
    report_->show();
}

QString SeasonBuildDialog::filesExistText(int count) {
    return tr("The season folder holds %n of the files this build writes already. Tick "
              "\"Replace existing files\" to replace them (each old one is kept as .bak), or "
              "choose another folder. Nothing was written.",
              nullptr, count);
}

QString SeasonBuildDialog::reportText(const SeasonBuildReport& report) {
    const QLocale locale;
    const auto percent = [&locale](double share) {
        return std::isfinite(share) ? locale.toString(share * 100, 'f', 1) + QStringLiteral(" %")
                                    : tr("no real goals");
    };
    QStringList lines;
    const FitCheckSummary check = summarizeFitCheck(report.check);
    QString fit = tr("The fit's check: %1 of %2 clubs play their season back within %3 % of "
                     "their real goals a game")
                      .arg(check.within)
                      .arg(check.clubs)
                      .arg(std::lround(FitTolerance * 100));
    if (!check.worst.empty()) {
        QStringList worst;
        for (const FitCheckMiss& club : check.worst) {
            worst << screenText(shownText(club.code)) + QLatin1Char(' ') +
                         percent(club.largestMiss);
        }
        fit += tr("; the largest misses: %1").arg(worst.join(QStringLiteral(", ")));
    }
    lines << fit + QLatin1Char('.');
    for (const ImportedRoster& roster : report.rosters) {
        for (const std::string& note : roster.notes) {
            lines << tr("Note: %1").arg(screenText(note));
        }
    }
    if (!report.unknownTeams.empty()) {
        QStringList teams;
        for (const std::string& team : report.unknownTeams) {
            teams << screenText(shownText(team));
        }
        lines << tr("Skipped the skaters of teams without a league code: %1")
                     .arg(teams.join(QStringLiteral(", ")));
    }
    int kept = 0;
    for (const RosterWrite& written : report.written) {
        kept += written.backup ? 1 : 0;
    }
    lines << (kept == 0 ? tr("Wrote %n files:", nullptr, int(report.written.size()))
                        : tr("Wrote %n files (%1 old ones kept as .bak):", nullptr,
                             int(report.written.size()))
                              .arg(kept));
    for (const RosterWrite& written : report.written) {
        lines << QStringLiteral("  ") + screenText(shownPath(written.file));
    }
    return lines.join(QLatin1Char('\n'));
}

void SeasonBuildDialog::setRunning(bool running) {
    for (QWidget* input : inputs_) {
        input->setEnabled(!running);
    }
    cancelButton_->setEnabled(true);
}

} // namespace zelkor::ui
