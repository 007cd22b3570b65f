#include "ui/SeasonBuildDialog.h"

#include "season/SeasonBuild.h"
#include "ui/BackgroundRun.h"
#include "ui/SeasonBuildRun.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelkor::ui {

namespace {

constexpr int ProgressSteps = 1000; // the progress bar counts in tenths of a percent

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
        caption->setBuddy(box);
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
    form->addRow(tr("&Before"), before_);
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
    inputs_ << buildButton_;

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(buildButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progress_);
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
    connect(run_, &SeasonBuildRun::progressed, this, &SeasonBuildDialog::buildProgressed);
    connect(run_, &SeasonBuildRun::finished, this, &SeasonBuildDialog::buildFinished);
    connect(run_, &SeasonBuildRun::cancelled, this, &SeasonBuildDialog::buildCancelled);
    connect(run_, &SeasonBuildRun::failed, this, &SeasonBuildDialog::buildFailed);
}

std::filesystem::path SeasonBuildDialog::builtFolder() const {
    return pathOf(folder_);
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
    progress_->setValue(0);
    status_->setText(tr("Reading the files\u2026"));
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

void SeasonBuildDialog::buildFinished() {
    progress_->setValue(ProgressSteps);
    setRunning(false);
    accept();
}

void SeasonBuildDialog::buildCancelled() {
    progress_->setValue(0);
    status_->setText(tr("Cancelled: nothing was written"));
    setRunning(false);
}

void SeasonBuildDialog::buildFailed(const QString& message) {
    status_->setText(tr("The season was not built"));
    setRunning(false);
    QMessageBox::warning(this, QStringLiteral("ZELKOR"), message);
}

void SeasonBuildDialog::setRunning(bool running) {
    for (QWidget* input : inputs_) {
        input->setEnabled(!running);
    }
    cancelButton_->setEnabled(true);
}

} // namespace zelkor::ui
