#include "ui/SeasonOutlookWindow.h"

#include "core/DisplayText.h"
#include "ui/TableText.h"

#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <random>
#include <utility>

#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

namespace zelkor::ui {

namespace {

constexpr int ProgressSteps = 1000; // the progress bar counts in tenths of a percent
// The most seasons the box takes: a spin box holds an int.
constexpr int MostSeasonsAsked =
    int(std::min<std::uint64_t>(MostOutlookSeasons, std::uint64_t(2'000'000'000)));
// The role holding the number a column sorts by and a bar is drawn from.
constexpr int SortRole = Qt::UserRole;
// The role holding the largest value of a bar's column: the bar's full width.
constexpr int BarScaleRole = Qt::UserRole + 1;
const QColor BarColour(70, 130, 180, 150);

// The standings' columns.
enum StandingsColumn {
    ClubColumn,
    DivisionColumn,
    GamesColumn,
    WinsColumn,
    LossesColumn,
    OvertimeLossesColumn,
    TiesColumn,
    PointsColumn,
    LeftColumn,
    ProjectedColumn,
    RangeColumn,
    PlayoffsColumn,
    TitleColumn,
    MostColumn,
    FewestColumn,
    StandingsColumns
};

// A cell sorted by its number rather than its text.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, double value) : QTableWidgetItem(text) {
        setData(SortRole, value);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(SortRole).toDouble() < other.data(SortRole).toDouble();
    }
};

// Draws a cell's number as a bar behind its text, its full width the column's scale.
class BarDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const double scale = index.data(BarScaleRole).toDouble();
        if (scale > 0) {
            const double share = std::clamp(index.data(SortRole).toDouble() / scale, 0.0, 1.0);
            QRect bar = option.rect.adjusted(2, 3, -2, -3);
            bar.setWidth(int(bar.width() * share));
            painter->fillRect(bar, BarColour);
        }
        QStyledItemDelegate::paint(painter, option, index);
    }
};

QString percentText(double share) {
    return QLocale().toString(share * 100, 'f', 1) + QStringLiteral(" %");
}

QTableWidget* figureTable(const char* name, const QStringList& headers) {
    auto* table = new QTableWidget(0, int(headers.size()));
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    offerTableCopy(table);
    return table;
}

QTableWidgetItem* textItem(const std::string& text) {
    return new QTableWidgetItem(QString::fromStdString(visibleText(text)));
}

} // namespace

OutlookRun::OutlookRun(QObject* parent) : BackgroundRun(parent) {}

void OutlookRun::start(const OutlookRequest& request) {
    startJob([this, request](std::stop_token stop, const Reports& reports) {
        const auto progress = [&reports, this](std::uint64_t done, std::uint64_t total) {
            reports.progress([this, done, total] { emit progressed(done, total); });
        };
        try {
            std::optional<SeasonOutlook> outlook = playOutlook(request, stop, progress);
            if (outlook) {
                auto result = std::make_shared<const SeasonOutlook>(std::move(*outlook));
                reports.end([this, result] { emit finished(result); });
            } else {
                reports.end([this] { emit cancelled(); });
            }
        } catch (const std::bad_alloc&) {
            reports.end(
                [this] { emit failed(QStringLiteral("Not enough memory for the outlook.")); });
        } catch (const std::exception& error) {
            reports.end([this, message = visibleText(error.what())] {
                emit failed(QString::fromStdString(message));
            });
        }
    });
}

SeasonOutlookWindow::SeasonOutlookWindow(SeasonInUse season, QWidget* parent)
    : QWidget(parent), season_(std::move(season)), run_(new OutlookRun(this)) {
    setObjectName(QStringLiteral("frmSeasonOutlook"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Season outlook ZELKOR"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/zelkor.png")));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildInputs());
    source_ = new QLabel;
    source_->setObjectName(QStringLiteral("outlookSource"));
    source_->setTextFormat(Qt::PlainText);
    source_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    source_->setWordWrap(true);
    layout->addWidget(source_);
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("outlookTabs"));
    tabs_->addTab(buildStandings(), tr("S&tandings"));
    tabs_->addTab(buildPointsChart(), tr("&Final points"));
    tabs_->addTab(buildGoalRace(), tr("&Goal race"));
    layout->addWidget(tabs_, 1);

    connect(browse_, &QPushButton::clicked, this, &SeasonOutlookWindow::chooseSchedule);
    connect(runButton_, &QPushButton::clicked, this, &SeasonOutlookWindow::startRun);
    connect(cancelButton_, &QPushButton::clicked, this, &SeasonOutlookWindow::cancelRun);
    connect(exportButton_, &QPushButton::clicked, this, &SeasonOutlookWindow::exportFigures);
    connect(schedule_, &QLineEdit::textChanged, this, &SeasonOutlookWindow::inputsChanged);
    connect(asOf_, &QLineEdit::textChanged, this, &SeasonOutlookWindow::inputsChanged);
    connect(seasons_, &QSpinBox::valueChanged, this, &SeasonOutlookWindow::inputsChanged);
    // Esc stops a run, as it does in the Odds window; Enter in an input starts one.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &SeasonOutlookWindow::cancelRun);
    for (QLineEdit* input : {schedule_, asOf_}) {
        connect(input, &QLineEdit::returnPressed, this, &SeasonOutlookWindow::startRun);
    }
    connect(run_, &OutlookRun::progressed, this, &SeasonOutlookWindow::runProgressed);
    connect(run_, &OutlookRun::finished, this, &SeasonOutlookWindow::runFinished);
    connect(run_, &OutlookRun::cancelled, this, &SeasonOutlookWindow::runCancelled);
    connect(run_, &OutlookRun::failed, this, &SeasonOutlookWindow::runFailed);
    setRunning(false);
    seasonName_->setText(seasonText());
    resize(1240, 700);
    runButton_->setDefault(true);
}

QWidget* SeasonOutlookWindow::buildInputs() {
    schedule_ = new QLineEdit;
    schedule_->setObjectName(QStringLiteral("scheduleFile"));
    schedule_->setPlaceholderText(
        tr("the season's results file: a game without a score is to play"));
    schedule_->setMinimumWidth(320);
    browse_ = new QPushButton(tr("&Browse\u2026"));
    browse_->setObjectName(QStringLiteral("browseSchedule"));
    asOf_ = new QLineEdit;
    asOf_->setObjectName(QStringLiteral("asOfDate"));
    asOf_->setPlaceholderText(tr("YYYY-MM-DD"));
    asOf_->setToolTip(tr("Every game on or after this day is played again, even one with a "
                         "score; empty: the games with a score stand"));
    asOf_->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("YYYY-MM-DDW")) + 16);
    seasons_ = new QSpinBox;
    seasons_->setObjectName(QStringLiteral("seasonCount"));
    seasons_->setRange(1, MostSeasonsAsked);
    seasons_->setValue(int(DefaultOutlookSeasons));
    seasons_->setGroupSeparatorShown(true);
    seasons_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("1,000,000,000")) +
                              30);
    const RunButtons buttons = newRunButtons(tr("The standings and the goal race, as CSV"));
    runButton_ = buttons.run;
    cancelButton_ = buttons.cancel;
    exportButton_ = buttons.exportFigures;
    seasonName_ = newSeasonNameLabel();
    progress_ = newRunProgressBar(ProgressSteps);
    progress_->setFixedWidth(320);
    status_ = newRunStatusLine();
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->setWordWrap(true);

    const auto label = [](const QString& text, QWidget* buddy) {
        auto* caption = new QLabel(text);
        caption->setBuddy(buddy);
        return caption;
    };
    auto* inputs = new QWidget;
    auto* grid = new QGridLayout(inputs);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    row->addWidget(label(tr("Sc&hedule"), schedule_));
    row->addWidget(schedule_, 1);
    row->addWidget(browse_);
    row->addSpacing(12);
    row->addWidget(label(tr("&As of"), asOf_));
    row->addWidget(asOf_);
    row->addSpacing(12);
    row->addWidget(label(tr("S&easons"), seasons_));
    row->addWidget(seasons_);
    row->addSpacing(12);
    row->addWidget(runButton_);
    row->addWidget(cancelButton_);
    row->addWidget(exportButton_);
    row->addSpacing(12);
    row->addWidget(seasonName_);
    grid->addLayout(row, 0, 0, 1, 2);
    grid->addWidget(progress_, 1, 0);
    grid->addWidget(status_, 1, 1);
    grid->setColumnStretch(1, 1);
    return inputs;
}

QWidget* SeasonOutlookWindow::buildStandings() {
    standings_ =
        figureTable("standingsTable",
                    {tr("Club"), tr("Division"), tr("GP"), tr("W"), tr("L"), tr("OTL"), tr("T"),
                     tr("Pts"), tr("Left"), tr("Projected points"), tr("5-95 %"), tr("Playoffs"),
                     tr("Division title"), tr("Most points"), tr("Fewest points")});
    auto* bars = new BarDelegate(standings_);
    standings_->setItemDelegateForColumn(ProjectedColumn, bars);
    standings_->setItemDelegateForColumn(PlayoffsColumn, bars);
    standings_->horizontalHeader()->setSectionResizeMode(ProjectedColumn, QHeaderView::Fixed);
    standings_->horizontalHeader()->setSectionResizeMode(PlayoffsColumn, QHeaderView::Fixed);
    standings_->setColumnWidth(ProjectedColumn, 150);
    standings_->setColumnWidth(PlayoffsColumn, 150);
    return standings_;
}

QWidget* SeasonOutlookWindow::buildPointsChart() {
    auto* chart = new QChart;
    chart->setTitle(tr("Final points: the box from the 25th to the 75th percentile, the median "
                       "across it, the whiskers at the 5th and the 95th"));
    chart->legend()->hide();
    pointsChart_ = new QChartView(chart);
    pointsChart_->setObjectName(QStringLiteral("pointsChart"));
    pointsChart_->setRenderHint(QPainter::Antialiasing);
    return pointsChart_;
}

QWidget* SeasonOutlookWindow::buildGoalRace() {
    goalRace_ = figureTable("goalRaceTable", {tr("Player"), tr("Club"), tr("Goals"),
                                              tr("Projected goals"), tr("Most goals")});
    return goalRace_;
}

QString SeasonOutlookWindow::seasonText() const {
    return season_.folder
               ? tr("Season: %1").arg(QFile::decodeName(season_.folder->filename().c_str()))
               : tr("Season: built-in 2000-01");
}

void SeasonOutlookWindow::useSeason(SeasonInUse season) {
    if (run_->running()) {
        run_->cancel();
    }
    season_ = std::move(season);
    seasonName_->setText(seasonText());
    inputsChanged();
}

void SeasonOutlookWindow::chooseSchedule() {
    const QString file = QFileDialog::getOpenFileName(this, tr("Schedule"), schedule_->text(),
                                                      tr("CSV files (*.csv);;All files (*)"));
    if (!file.isEmpty()) {
        schedule_->setText(QDir::toNativeSeparators(file));
    }
}

void SeasonOutlookWindow::setRunning(bool running) {
    runButton_->setEnabled(!running);
    cancelButton_->setEnabled(running);
    exportButton_->setEnabled(!running && shown_ != nullptr && tabs_->isEnabled());
    for (QWidget* input : std::initializer_list<QWidget*>{schedule_, browse_, asOf_, seasons_}) {
        input->setEnabled(!running);
    }
}

void SeasonOutlookWindow::inputsChanged() {
    // The figures shown no longer answer the inputs: grey them and say so.
    if (shown_ != nullptr) {
        tabs_->setEnabled(false);
        source_->setText(tr("Inputs changed: run again for figures that answer them."));
    }
    setRunning(run_->running());
}

void SeasonOutlookWindow::startRun() {
    if (run_->running()) {
        return;
    }
    OutlookSource source;
    source.folder = season_.folder.value_or(season_.rosterFolder);
    source.schedule =
        QFile::encodeName(QDir::fromNativeSeparators(schedule_->text().trimmed())).toStdString();
    source.asOf = asOf_->text().trimmed().toStdString();
    if (source.schedule.empty()) {
        status_->setText(tr("Name the schedule: the season's results file."));
        schedule_->setFocus();
        return;
    }
    OutlookRequest request;
    try {
        SourcedOutlook sourced = readOutlookSource(source);
        request = std::move(sourced.request);
    } catch (const std::exception& error) {
        status_->setText(QString::fromStdString(visibleText(error.what())));
        return;
    }
    request.seasons = std::uint64_t(seasons_->value());
    request.baseSeed =
        (std::uint64_t(std::random_device{}()) << 32) ^ std::uint64_t(std::random_device{}());
    postponed_ = request.schedule.postponedSkipped;
    const QString asOf = asOf_->text().trimmed();
    shownSource_ =
        tr("%1 · schedule %2 · %3")
            .arg(seasonText(), QFileInfo(schedule_->text().trimmed()).fileName(),
                 asOf.isEmpty() ? tr("the games with a score stand") : tr("as of %1").arg(asOf));
    progress_->setValue(0);
    status_->setText(tr("Playing %L1 seasons\u2026").arg(seasons_->value()));
    setRunning(true);
    run_->start(request);
}

void SeasonOutlookWindow::cancelRun() {
    run_->cancel();
}

void SeasonOutlookWindow::runProgressed(quint64 done, quint64 total) {
    if (total > 0) {
        progress_->setValue(int(double(done) / double(total) * ProgressSteps));
    }
}

void SeasonOutlookWindow::runFinished(std::shared_ptr<const SeasonOutlook> outlook) {
    shown_ = std::move(outlook);
    progress_->setValue(ProgressSteps);
    status_->setText(tr("Done: %L1 seasons, base seed %2.")
                         .arg(qulonglong(shown_->seasons))
                         .arg(qulonglong(shown_->seed)));
    showOutlook();
    setRunning(false);
}

void SeasonOutlookWindow::runCancelled() {
    progress_->setValue(0);
    status_->setText(tr("Cancelled: the figures shown are those of the run before, if any."));
    setRunning(false);
}

void SeasonOutlookWindow::runFailed(const QString& message) {
    progress_->setValue(0);
    status_->setText(message);
    setRunning(false);
}

void SeasonOutlookWindow::showOutlook() {
    const SeasonOutlook& outlook = *shown_;
    QString games = tr("%L1 games played, %L2 to play")
                        .arg(qulonglong(outlook.gamesPlayed))
                        .arg(qulonglong(outlook.gamesLeft));
    if (postponed_ > 0) {
        games += tr(", %L1 postponed listings skipped").arg(qulonglong(postponed_));
    }
    // The seasons and the seed too, so that an exported file says how to play it again.
    games += tr(" · %L1 seasons, base seed %2")
                 .arg(qulonglong(outlook.seasons))
                 .arg(qulonglong(outlook.seed));
    source_->setText(
        shownSource_ + QStringLiteral(" · ") + games +
        tr(" · playoffs: %1")
            .arg(QString::fromUtf8(std::string(playoffFormatName(outlook.format)).c_str())));
    tabs_->setEnabled(true);

    // The standings, in the library's order until the user sorts them.
    standings_->setSortingEnabled(false);
    standings_->setRowCount(int(outlook.clubs.size()));
    int mostPoints = 1;
    for (const ClubOutlook& club : outlook.clubs) {
        mostPoints = std::max(mostPoints, club.points95);
    }
    for (int row = 0; row < int(outlook.clubs.size()); ++row) {
        const ClubOutlook& club = outlook.clubs[std::size_t(row)];
        const ClubRecord& so = club.soFar;
        const auto count = [](int value) { return new NumberItem(QString::number(value), value); };
        const auto chance = [](double share) { return new NumberItem(percentText(share), share); };
        standings_->setItem(row, ClubColumn, textItem(club.code));
        standings_->setItem(row, DivisionColumn, textItem(club.conference + " / " + club.division));
        standings_->setItem(row, GamesColumn, count(so.games));
        standings_->setItem(row, WinsColumn, count(so.wins));
        standings_->setItem(row, LossesColumn, count(so.losses));
        standings_->setItem(row, OvertimeLossesColumn, count(so.overtimeLosses));
        standings_->setItem(row, TiesColumn, count(so.ties));
        standings_->setItem(row, PointsColumn, count(so.points()));
        standings_->setItem(row, LeftColumn, count(club.gamesLeft));
        auto* projected =
            new NumberItem(QLocale().toString(club.meanPoints, 'f', 1), club.meanPoints);
        projected->setData(BarScaleRole, double(mostPoints));
        standings_->setItem(row, ProjectedColumn, projected);
        standings_->setItem(
            row, RangeColumn,
            new NumberItem(QStringLiteral("%1-%2").arg(club.points5).arg(club.points95),
                           club.points5));
        QTableWidgetItem* playoffs = chance(club.playoffs);
        playoffs->setData(BarScaleRole, 1.0);
        standings_->setItem(row, PlayoffsColumn, playoffs);
        standings_->setItem(row, TitleColumn, chance(club.divisionTitle));
        standings_->setItem(row, MostColumn, chance(club.mostPoints));
        standings_->setItem(row, FewestColumn, chance(club.fewestPoints));
    }
    standings_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    standings_->setSortingEnabled(true);

    // One box a club, in the standings' order.
    QChart* chart = pointsChart_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    auto* boxes = new QBoxPlotSeries;
    for (const ClubOutlook& club : outlook.clubs) {
        boxes->append(new QBoxSet(club.points5, club.points25, club.pointsMedian, club.points75,
                                  club.points95, QString::fromStdString(visibleText(club.code))));
    }
    chart->addSeries(boxes);
    chart->createDefaultAxes();
    // The points the boxes span, not from zero: the differences between clubs are the story.
    int lowest = mostPoints;
    for (const ClubOutlook& club : outlook.clubs) {
        lowest = std::min(lowest, club.points5);
    }
    if (auto* points = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0))) {
        points->setRange(std::max(0, lowest - 2), mostPoints + 2);
        points->applyNiceNumbers();
        points->setLabelFormat(QStringLiteral("%d"));
    }

    goalRace_->setSortingEnabled(false);
    goalRace_->setRowCount(int(outlook.players.size()));
    for (int row = 0; row < int(outlook.players.size()); ++row) {
        const PlayerOutlook& player = outlook.players[std::size_t(row)];
        goalRace_->setItem(row, 0, textItem(player.name));
        goalRace_->setItem(row, 1, textItem(player.club));
        goalRace_->setItem(row, 2, new NumberItem(QString::number(player.goals), player.goals));
        goalRace_->setItem(row, 3,
                           new NumberItem(QLocale().toString(player.projectedGoals, 'f', 1),
                                          player.projectedGoals));
        goalRace_->setItem(row, 4,
                           new NumberItem(percentText(player.goalLeader), player.goalLeader));
    }
    goalRace_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    goalRace_->setSortingEnabled(true);
}

QString SeasonOutlookWindow::figuresCsv() const {
    return tableText(*standings_, QLatin1Char(',')) + QLatin1Char('\n') +
           tableText(*goalRace_, QLatin1Char(','));
}

void SeasonOutlookWindow::exportFigures() {
    const QString file =
        QFileDialog::getSaveFileName(this, tr("Export the outlook"), QStringLiteral("outlook.csv"),
                                     tr("CSV files (*.csv);;All files (*)"));
    if (file.isEmpty() || shown_ == nullptr) {
        return;
    }
    // The line naming the inputs first, quoted as CSV wants it.
    QString line = source_->text();
    line.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    const QByteArray bytes =
        (QLatin1Char('"') + line + QStringLiteral("\"\n\n") + figuresCsv()).toUtf8();
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        QMessageBox::warning(this, windowTitle(),
                             tr("The figures could not be written to '%1': %2")
                                 .arg(QDir::toNativeSeparators(file), out.errorString()));
    }
}

} // namespace zelkor::ui
