#include "ui/OddsWindow.h"

#include "core/DisplayText.h"
#include "engine/InputChecks.h"
#include "odds/ManySeries.h"
#include "season/MarketSummary.h"
#include "simulation/RandomSource.h"
#include "ui/BackgroundRun.h"
#include "ui/OddsRun.h"
#include "ui/ScoreHeatMap.h"
#include "ui/WindowText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <utility>
#include <vector>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QStringDecoder>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

namespace zelkor::ui {

namespace {

const QColor VisitorBlue(0, 0, 255);
const QColor HomeRed(255, 0, 0);
const QColor GainGreen(0, 120, 0);
const QColor LossRed(190, 0, 0);
const QColor UnprovenAmber(160, 100, 0); // a positive edge of a size the backtest saw not pay

constexpr double Percent = 100.0;   // shares are shown as percentages
constexpr int ProgressSteps = 1000; // the progress bar counts in tenths of a percent
constexpr int TotalGoalsShown = 12; // bars for 0 to 10 total goals, then one for 11 or more
constexpr int MoneyLineRows = 6;    // money-line captions in view without scrolling

QString percentText(double share, int decimals = 1) {
    return QLocale().toString(share * Percent, 'f', decimals) + QStringLiteral(" %");
}

QString signedText(double value, int decimals) {
    return (value > 0 ? QStringLiteral("+") : QString()) + QLocale().toString(value, 'f', decimals);
}

QString countText(std::uint64_t count) {
    return QLocale().toString(qulonglong(count));
}

void setTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QComboBox* teamBox(const char* name, const QStringList& codes, const QString& shown,
                   const QColor& colour) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setCompleter(nullptr);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(codes);
    box->setEditText(shown);
    setTextColour(box, QPalette::Text, colour);
    return box;
}

QLineEdit* lineBox(const char* name, const QString& text, int width) {
    auto* box = new QLineEdit(text);
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedWidth(width);
    return box;
}

// A read-only table sized to its rows, for figures a person reads rather than edits.
QTableWidget* figureTable(const char* name, const QStringList& headers, int rows) {
    auto* table = new QTableWidget(rows, int(headers.size()));
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setWordWrap(false);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < headers.size(); ++column) {
        table->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    return table;
}

// Fixes a table's height to show that many rows.
void showRows(QTableWidget* table, int rows) {
    const QHeaderView* header = table->horizontalHeader();
    table->setFixedHeight((header->isHidden() ? 0 : header->sizeHint().height()) +
                          rows * table->verticalHeader()->defaultSectionSize() +
                          2 * table->frameWidth());
}

void setCell(QTableWidget* table, int row, int column, const QString& text,
             const QColor& colour = QColor()) {
    auto* item = table->item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        table->setItem(row, column, item);
    }
    item->setText(text);
    item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                       : Qt::AlignRight | Qt::AlignVCenter);
    if (colour.isValid()) {
        item->setForeground(colour);
    }
}

QGroupBox* group(const QString& title, QWidget* content) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

// A GAA box's text with the main window's reading of it: the locale's number, judged by
// the same check; a text that is no usable average counts as 0, which the checks refuse.
GaaEntry gaaFromBox(const QString& text) {
    bool converted = false;
    const double value = QLocale().toDouble(text.trimmed(), &converted);
    const GaaProblem problem = converted ? gaaProblem(value) : GaaProblem::NotANumber;
    return {text.toStdString(),
            problem == GaaProblem::None ? static_cast<Single>(value) : Single(0)};
}

// A GAA text the locale reads as no number at all; blanks alone count as 0, as in the main
// window.
bool notANumber(const QString& text) {
    bool converted = false;
    QLocale().toDouble(text.trimmed(), &converted);
    return !converted && !text.trimmed().isEmpty();
}

// Bookmaker's odds as typed, with the locale's decimal separator or a full stop.
std::optional<double> offeredOdds(const QString& text) {
    QString plain = text.trimmed();
    plain.replace(QLocale().decimalPoint(), QStringLiteral("."));
    return parseOfferedOdds(plain.toStdString());
}

} // namespace

OddsWindow::OddsWindow(const OddsInputs& start, SeasonInUse season, QWidget* parent)
    : QWidget(parent), season_(std::move(season)), run_(new OddsRun(this)) {
    setObjectName(QStringLiteral("frmOdds"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Its fields explain themselves on hover while the main window is the active one, as it
    // is after a face-off.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setWindowTitle(QStringLiteral("Odds ZELKOR"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/zelkor.png")));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildInputs());
    visitorTeam_->setEditText(start.visitor);
    homeTeam_->setEditText(start.home);
    visitorGaa_->setText(start.visitorGaa);
    homeGaa_->setText(start.homeGaa);

    // Figures on the left, the score charts in the middle, what FaceOff! shows and the
    // scorers on the right; scrolled on a screen too small for them all.
    auto* content = new QWidget;
    auto* body = new QGridLayout(content);
    body->setContentsMargins(0, 0, 0, 0);
    auto* figures = new QVBoxLayout;
    figures->addWidget(buildOutcomes());
    figures->addWidget(buildMoneyLine());
    figures->addWidget(buildGoals());
    figures->addStretch();
    body->addLayout(figures, 0, 0);
    auto* charts = new QVBoxLayout;
    charts->addWidget(buildScoreMap(), 3);
    charts->addWidget(buildTotalGoals(), 2);
    body->addLayout(charts, 0, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(buildMoneyLines());
    auto* scorers = new QHBoxLayout;
    scorers->addWidget(buildScorers(visitorScorers_, "visitorScorers", tr("Visitor scorers")));
    scorers->addWidget(buildScorers(homeScorers_, "homeScorers", tr("Home scorers")));
    right->addLayout(scorers, 1);
    body->addLayout(right, 0, 2);
    // The score grid is square, so width beyond its height goes to the scorers' names.
    body->setColumnStretch(1, 0);
    body->setColumnStretch(2, 1);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("figuresScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);
    for (QWidget* figure :
         std::initializer_list<QWidget*>{outcomes_, goals_, scoreMap_, totalGoals_, moneyLines_,
                                         visitorScorers_, homeScorers_, visitorName_, homeName_}) {
        figureWidgets_.append(figure);
    }
    for (int kind = 0; kind < 3; ++kind) {
        figureWidgets_.append({visitorFair_[kind], homeFair_[kind]});
    }

    connect(runButton_, &QPushButton::clicked, this, &OddsWindow::startRun);
    connect(cancelButton_, &QPushButton::clicked, this, &OddsWindow::cancelRun);
    connect(run_, &OddsRun::progressed, this, &OddsWindow::runProgressed);
    connect(run_, &OddsRun::finished, this, &OddsWindow::runFinished);
    connect(run_, &OddsRun::cancelled, this, &OddsWindow::runCancelled);
    connect(run_, &OddsRun::failed, this, &OddsWindow::runFailed);
    connect(visitorOffered_, &QLineEdit::textChanged, this, &OddsWindow::showEdges);
    connect(homeOffered_, &QLineEdit::textChanged, this, &OddsWindow::showEdges);
    for (QComboBox* team : {visitorTeam_, homeTeam_}) {
        connect(team, &QComboBox::editTextChanged, this, &OddsWindow::inputsChanged);
    }
    for (QLineEdit* gaa : {visitorGaa_, homeGaa_}) {
        connect(gaa, &QLineEdit::textChanged, this, &OddsWindow::inputsChanged);
    }
    setRunning(false);
    // Room for every figure on a screen of 1366 x 768; on a smaller one the figures scroll.
    QSize size(1340, 720);
    if (const QScreen* shown = screen()) {
        size = size.boundedTo(shown->availableGeometry().size());
    }
    resize(size);
    runButton_->setDefault(true);
    runButton_->setFocus();
}

QWidget* OddsWindow::buildInputs() {
    visitorTeam_ =
        teamBox("visitorTeam", teamCodes(season_.ratings.table->road()), {}, VisitorBlue);
    homeTeam_ = teamBox("homeTeam", teamCodes(season_.ratings.table->home()), {}, HomeRed);
    const int gaaWidth = fontMetrics().horizontalAdvance(QStringLiteral("00.000")) + 12;
    visitorGaa_ = lineBox("visitorGaa", {}, gaaWidth);
    homeGaa_ = lineBox("homeGaa", {}, gaaWidth);
    setTextColour(visitorGaa_, QPalette::Text, VisitorBlue);
    setTextColour(homeGaa_, QPalette::Text, HomeRed);

    seriesCount_ = new QSpinBox;
    seriesCount_->setObjectName(QStringLiteral("seriesCount"));
    seriesCount_->setRange(1, int(MostSeriesPerRun));
    seriesCount_->setValue(DefaultSeries);
    seriesCount_->setGroupSeparatorShown(true);
    seriesCount_->setAccelerated(true);
    seriesCount_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("1,000,000,000")) +
                                  30);

    seed_ = lineBox("seed", {},
                    fontMetrics().horizontalAdvance(QStringLiteral("18446744073709551615")) + 12);
    seed_->setPlaceholderText(tr("from the clock"));
    seed_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,20}")), seed_));
    seed_->setToolTip(tr("The base seed: the same seed plays the same series again"));

    runButton_ = new QPushButton(tr("Run"));
    runButton_->setObjectName(QStringLiteral("runButton"));
    cancelButton_ = new QPushButton(tr("Cancel"));
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    progress_ = newRunProgressBar(ProgressSteps);
    status_ = newRunStatusLine();
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* inputs = new QWidget;
    auto* grid = new QGridLayout(inputs);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto label = [](const QString& text, QWidget* buddy, const QColor& colour = {}) {
        auto* caption = new QLabel(text);
        caption->setBuddy(buddy);
        if (colour.isValid()) {
            setTextColour(caption, QPalette::WindowText, colour);
        }
        return caption;
    };
    auto* row = new QHBoxLayout;
    row->addWidget(label(tr("&Visitor"), visitorTeam_, VisitorBlue));
    row->addWidget(visitorTeam_);
    row->addWidget(label(tr("GAA"), visitorGaa_, VisitorBlue));
    row->addWidget(visitorGaa_);
    row->addSpacing(16);
    row->addWidget(label(tr("&Home"), homeTeam_, HomeRed));
    row->addWidget(homeTeam_);
    row->addWidget(label(tr("GAA"), homeGaa_, HomeRed));
    row->addWidget(homeGaa_);
    row->addSpacing(16);
    row->addWidget(label(tr("&Series"), seriesCount_));
    row->addWidget(seriesCount_);
    row->addWidget(label(tr("S&eed"), seed_));
    row->addWidget(seed_);
    row->addSpacing(16);
    row->addWidget(runButton_);
    row->addWidget(cancelButton_);
    row->addStretch();
    grid->addLayout(row, 0, 0, 1, 2);
    grid->addWidget(progress_, 1, 0);
    grid->addWidget(status_, 1, 1);
    grid->setColumnStretch(1, 1);
    progress_->setFixedWidth(320);
    return inputs;
}

QWidget* OddsWindow::buildOutcomes() {
    outcomes_ =
        figureTable("outcomeTable", {tr("Game ends"), tr("Chance"), tr("95 % interval")}, 7);
    showRows(outcomes_, 7);
    return group(tr("How the games end"), outcomes_);
}

QWidget* OddsWindow::buildMoneyLine() {
    auto* box = new QGroupBox(tr("Money line, level games as pushes"));
    auto* grid = new QGridLayout(box);
    auto* fairHeader = new QLabel(tr("Fair odds"));
    fairHeader->setAlignment(Qt::AlignCenter);
    grid->addWidget(fairHeader, 0, 1, 1, 3);
    const QStringList headers = {tr("implied"), tr("decimal"), tr("American"), tr("Bookmaker"),
                                 tr("Edge")};
    for (int column = 0; column < headers.size(); ++column) {
        auto* header = new QLabel(headers[int(column)]);
        header->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        grid->addWidget(header, 1, column + 1);
    }
    const auto side = [&](int row, QLabel*& name, QLabel*(&fair)[3], QLineEdit*& offered,
                          QLabel*& edge, const char* prefix, const QColor& colour) {
        name = new QLabel;
        setTextColour(name, QPalette::WindowText, colour);
        grid->addWidget(name, row, 0);
        const char* kinds[3] = {"Implied", "Decimal", "American"};
        for (int kind = 0; kind < 3; ++kind) {
            fair[kind] = new QLabel(QStringLiteral("-"));
            fair[kind]->setObjectName(QString::fromLatin1(prefix) + QLatin1String(kinds[kind]));
            fair[kind]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(fair[kind], row, kind + 1);
        }
        offered = lineBox(row == 2 ? "visitorOffered" : "homeOffered", {},
                          fontMetrics().horizontalAdvance(QStringLiteral("+1000.0")) + 12);
        // A price as placeholder would read as one typed.
        offered->setPlaceholderText(tr("odds"));
        offered->setToolTip(tr("The bookmaker's odds for this side: %1").arg(acceptedOdds()));
        offered->setAlignment(Qt::AlignRight);
        grid->addWidget(offered, row, 4);
        edge = new QLabel;
        edge->setObjectName(QString::fromLatin1(prefix) + QStringLiteral("Edge"));
        edge->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edge->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("+100.0 %")));
        grid->addWidget(edge, row, 5);
    };
    side(2, visitorName_, visitorFair_, visitorOffered_, visitorEdge_, "visitor", VisitorBlue);
    side(3, homeName_, homeFair_, homeOffered_, homeEdge_, "home", HomeRed);
    auto* note = new QLabel(edgeNoteText());
    note->setObjectName(QStringLiteral("edgeNote"));
    note->setWordWrap(true);
    edgeNote_ = note;
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    note->setFont(small);
    grid->addWidget(note, 4, 0, 1, 6);
    modelTest_ = new QLabel;
    modelTest_->setObjectName(QStringLiteral("modelTest"));
    modelTest_->setWordWrap(true);
    modelTest_->setFont(small);
    grid->addWidget(modelTest_, 5, 0, 1, 6);
    grid->setColumnStretch(0, 1);
    return box;
}

QWidget* OddsWindow::buildGoals() {
    goals_ = figureTable("goalsTable", {QString(), QString()}, 7);
    goals_->horizontalHeader()->hide();
    showRows(goals_, 7);
    return group(tr("Goals, totals and puck line"), goals_);
}

QWidget* OddsWindow::buildScoreMap() {
    scoreMap_ = new ScoreHeatMap;
    scoreMap_->setObjectName(QStringLiteral("scoreHeatMap"));
    return group(tr("Final scores, % of games"), scoreMap_);
}

QWidget* OddsWindow::buildTotalGoals() {
    totalGoalsBars_ = new QBarSet(tr("Games"));
    QStringList categories;
    for (int goals = 0; goals < TotalGoalsShown; ++goals) {
        totalGoalsBars_->append(0);
        categories.append(QString::number(goals));
    }
    totalGoalsBars_->setColor(QColor(110, 40, 150));
    auto* series = new QBarSeries;
    series->append(totalGoalsBars_);
    series->setBarWidth(0.8);

    auto* chart = new QChart;
    chart->addSeries(series);
    chart->legend()->hide();
    chart->setLocalizeNumbers(true);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    auto* goalsAxis = new QBarCategoryAxis;
    goalsAxis->append(categories);
    // The charts cut a label wider than two digits short, so the title says what the last
    // bar holds.
    goalsAxis->setTitleText(
        tr("Total goals in a game; the last bar: %1 or more").arg(TotalGoalsShown - 1));
    QFont labels = goalsAxis->labelsFont();
    labels.setPointSizeF(labels.pointSizeF() * 0.75);
    goalsAxis->setLabelsFont(labels);
    chart->addAxis(goalsAxis, Qt::AlignBottom);
    series->attachAxis(goalsAxis);
    totalGoalsAxis_ = new QValueAxis;
    totalGoalsAxis_->setRange(0, 20);
    totalGoalsAxis_->setLabelFormat(QStringLiteral("%.0f"));
    totalGoalsAxis_->setTitleText(tr("% of games"));
    chart->addAxis(totalGoalsAxis_, Qt::AlignLeft);
    series->attachAxis(totalGoalsAxis_);

    totalGoals_ = new QChartView(chart);
    totalGoals_->setObjectName(QStringLiteral("totalGoalsChart"));
    totalGoals_->setRenderHint(QPainter::Antialiasing);
    // Wide enough that no goal number under a bar is cut short.
    totalGoals_->setMinimumSize(330, 170);
    return group(tr("Total goals"), totalGoals_);
}

QWidget* OddsWindow::buildMoneyLines() {
    moneyLines_ = figureTable("moneyLineTable", {tr("FaceOff! shows"), tr("Series")}, 0);
    showRows(moneyLines_, MoneyLineRows);
    return group(tr("Money line of an 11-game series"), moneyLines_);
}

QWidget* OddsWindow::buildScorers(QTableWidget*& table, const char* name, const QString& title) {
    // Titled by its first column rather than a box around it: the names need the width.
    table = figureTable(name, {title, tr("Anytime"), tr("Goals")}, PlayersPerTeam);
    table->horizontalHeaderItem(1)->setToolTip(tr("Chance of scoring at least once in a game"));
    table->horizontalHeaderItem(2)->setToolTip(tr("Goals a game"));
    table->setMinimumWidth(230);
    return table;
}

QString OddsWindow::acceptedOdds() {
    const QLocale locale;
    const QString plusMinus = QStringLiteral("\u00b1");
    return tr("decimal %1 to %2 or American %3 to %4 (+150, -120)")
        .arg(locale.toString(1.01, 'f', 2), locale.toString(1000), plusMinus + locale.toString(100),
             plusMinus + locale.toString(100'000));
}

QString OddsWindow::edgeNoteText() {
    return tr("Edge: expected return per unit staked at the bookmaker's odds; a level game "
              "returns the stake.");
}

// A message box as the main window shows one; the focus goes back to field, if any.
void OddsWindow::showMessage(const QString& message, QWidget* field) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("ZELKOR"), message, QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    if (field != nullptr) {
        activateWindow();
        field->setFocus(Qt::OtherFocusReason);
    }
}

void OddsWindow::startRun() {
    if (run_->running()) {
        return;
    }
    ManySeriesRequest request;
    request.visitor = visitorTeam_->currentText().toStdString();
    request.home = homeTeam_->currentText().toStdString();
    request.visitorGaa = gaaFromBox(visitorGaa_->text());
    request.homeGaa = gaaFromBox(homeGaa_->text());
    request.rosterFolder = season_.rosterFolder;
    request.ratings = season_.ratings.table;
    request.shootout = season_.ratings.shootouts.on;
    request.shootoutVisitorChance =
        season_.ratings.shootouts.visitorChance(request.visitor, request.home);
    request.series = std::uint64_t(seriesCount_->value());

    // The face-off's own checks and messages, before anything starts.
    if (const auto refusal = requestRefusal(request)) {
        // In the order of InputField.
        QWidget* const fields[] = {visitorTeam_, homeTeam_, visitorGaa_, homeGaa_};
        // A missing GAA leaves the focus where it is, as in the main window.
        const bool stay = refusal->kind == RefusalKind::GaaMissing;
        QString message = visibleScreenText(refusal->message);
        if (refusal->kind == RefusalKind::GaaNotAboveZero) {
            const QLineEdit* gaa =
                refusal->field == InputField::VisitorGaa ? visitorGaa_ : homeGaa_;
            if (notANumber(gaa->text())) {
                message = visibleScreenText(notANumberMessage(
                    gaa->text().toStdString(), QLocale().decimalPoint().toStdString()));
            }
        }
        showMessage(message, stay ? nullptr : fields[int(refusal->field)]);
        return;
    }
    if (request.visitor == request.home) {
        showMessage(tr("%1 cannot play itself: choose another home team")
                        .arg(visibleScreenText(request.home)),
                    homeTeam_);
        return;
    }
    if (seed_->text().isEmpty()) {
        request.baseSeed = ClockSeed{}.seriesSeed();
    } else {
        bool converted = false;
        request.baseSeed = seed_->text().toULongLong(&converted);
        if (!converted) {
            showMessage(tr("The seed must be a whole number from 0 to %1")
                            .arg(QLocale().toString(qulonglong(~0ULL))),
                        seed_);
            return;
        }
    }
    shown_.reset();
    shownInputs_ = currentInputs();
    asked_ = request.series;
    baseSeed_ = request.baseSeed;
    progress_->setValue(0);
    setStatus(tr("Playing %1 series...").arg(countText(asked_)));
    setRunning(true);
    run_->start(request);
}

void OddsWindow::useSeason(SeasonInUse season) {
    season_ = std::move(season);
    ++seasonsUsed_;
    // The codes entered stay as typed: the face-off's check says if the season lacks one.
    for (const auto& [box, codes] :
         {std::pair{visitorTeam_, teamCodes(season_.ratings.table->road())},
          std::pair{homeTeam_, teamCodes(season_.ratings.table->home())}}) {
        const QString entered = box->currentText();
        box->clear();
        box->addItems(codes);
        box->setEditText(entered);
    }
    inputsChanged();
}

OddsWindow::RunInputs OddsWindow::currentInputs() const {
    return {visitorTeam_->currentText(), homeTeam_->currentText(), visitorGaa_->text(),
            homeGaa_->text(), seasonsUsed_};
}

bool OddsWindow::figuresOfPreviousRun() const {
    return shown_ && !run_->running() && currentInputs() != shownInputs_;
}

void OddsWindow::setStatus(const QString& text) {
    runStatus_ = text;
    inputsChanged();
}

void OddsWindow::inputsChanged() {
    const bool previous = figuresOfPreviousRun();
    status_->setText(
        previous ? tr("The figures are of the previous run, %1 at %2: press Run for the "
                      "inputs entered")
                       .arg(visibleScreenText(shown_->visitor), visibleScreenText(shown_->home))
                 : runStatus_);
    for (QWidget* figure : figureWidgets_) {
        figure->setEnabled(!previous);
    }
    showEdges();
}

void OddsWindow::cancelRun() {
    run_->cancel();
    cancelButton_->setEnabled(false);
    setStatus(tr("Stopping..."));
}

void OddsWindow::runProgressed(const OddsTally& soFar) {
    showTally(soFar);
    progress_->setValue(int(double(soFar.series) / double(asked_) * ProgressSteps));
    setStatus(tr("%1 of %2 series played; the figures are of those so far")
                  .arg(countText(soFar.series), countText(asked_)));
}

void OddsWindow::runFinished(const OddsTally& tally) {
    showTally(tally);
    progress_->setValue(ProgressSteps);
    setRunning(false);
    setStatus(tr("%1 series, %2 games (base seed %3)")
                  .arg(countText(tally.series), countText(tally.games))
                  .arg(baseSeed_));
}

void OddsWindow::runCancelled() {
    setRunning(false);
    // The base seed, so that the series played can be played again.
    if (shown_) {
        setStatus(tr("Cancelled: the figures are of the %1 series played first (base seed %2)")
                      .arg(countText(shown_->series))
                      .arg(baseSeed_));
    } else {
        const bool earlierFigures = outcomes_->item(0, 0) != nullptr;
        setStatus((earlierFigures ? tr("Cancelled before the first results (base seed %1): the "
                                       "figures are of the run before")
                                  : tr("Cancelled before the first results (base seed %1)"))
                      .arg(baseSeed_));
    }
}

void OddsWindow::runFailed(const QString& message) {
    setRunning(false);
    setStatus(tr("The run failed"));
    showMessage(message, nullptr);
}

void OddsWindow::setRunning(bool running) {
    for (QWidget* input : std::initializer_list<QWidget*>{
             visitorTeam_, homeTeam_, visitorGaa_, homeGaa_, seriesCount_, seed_, runButton_}) {
        input->setEnabled(!running);
    }
    cancelButton_->setEnabled(running);
}

void OddsWindow::closeEvent(QCloseEvent* event) {
    run_->cancel();
    QWidget::closeEvent(event);
}

void OddsWindow::showTally(const OddsTally& tally) {
    shown_ = tally;
    const OddsFigures figures = oddsFigures(tally);
    visitorName_->setText(visibleScreenText(tally.visitor));
    homeName_->setText(visibleScreenText(tally.home));
    showOutcomes(tally, figures);
    showFairOdds(figures);
    showGoals(tally, figures);
    scoreMap_->setShares(figures.scoreGrid, tally.visitor, tally.home);
    showTotalGoals(tally);
    showMoneyLines(tally, figures);
    showScorers(visitorScorers_, tally.visitorPlayers, figures.visitorScorers);
    showScorers(homeScorers_, tally.homePlayers, figures.homeScorers);
    visitorScorers_->horizontalHeaderItem(0)->setText(tr("%1 scorers").arg(visitorName_->text()));
    homeScorers_->horizontalHeaderItem(0)->setText(tr("%1 scorers").arg(homeName_->text()));
    showEdges();
}

void OddsWindow::showOutcomes(const OddsTally& tally, const OddsFigures& figures) {
    const QString visitor = visibleScreenText(tally.visitor);
    const QString home = visibleScreenText(tally.home);
    const struct {
        QString label;
        const Probability& chance;
        QColor colour;
    } rows[] = {
        {tr("%1 wins in regulation").arg(visitor), figures.visitorRegulation, VisitorBlue},
        {tr("%1 wins in overtime").arg(visitor), figures.visitorOvertime, VisitorBlue},
        {tr("%1 wins in regulation").arg(home), figures.homeRegulation, HomeRed},
        {tr("%1 wins in overtime").arg(home), figures.homeOvertime, HomeRed},
        {tr("Level after overtime"), figures.tie, QColor(Qt::black)},
        {tr("%1 wins").arg(visitor), figures.visitorWin, VisitorBlue},
        {tr("%1 wins").arg(home), figures.homeWin, HomeRed},
    };
    int row = 0;
    for (const auto& [label, chance, colour] : rows) {
        setCell(outcomes_, row, 0, label, colour);
        setCell(outcomes_, row, 1, percentText(chance.value));
        setCell(outcomes_, row, 2,
                percentText(chance.low) + QStringLiteral(" - ") + percentText(chance.high));
        ++row;
    }
}

void OddsWindow::showFairOdds(const OddsFigures& figures) {
    const auto side = [](QLabel*(&labels)[3], double chance, const std::optional<FairOdds>& fair) {
        labels[0]->setText(percentText(chance));
        labels[1]->setText(fair ? QLocale().toString(fair->decimal, 'f', 2) : QStringLiteral("-"));
        labels[2]->setText(fair ? signedText(std::round(fair->american), 0) : QStringLiteral("-"));
    };
    side(visitorFair_, figures.visitorTwoWay, figures.visitorFair);
    side(homeFair_, figures.homeTwoWay, figures.homeFair);
}

void OddsWindow::showGoals(const OddsTally& tally, const OddsFigures& figures) {
    const QString visitor = visitorName_->text();
    const QString home = homeName_->text();
    const QLocale locale;
    int row = 0;
    setCell(goals_, row++, 0, tr("Expected goals %1").arg(visitor), VisitorBlue);
    setCell(goals_, row - 1, 1, locale.toString(figures.expectedGoalsVisitor, 'f', 2));
    setCell(goals_, row++, 0, tr("Expected goals %1").arg(home), HomeRed);
    setCell(goals_, row - 1, 1, locale.toString(figures.expectedGoalsHome, 'f', 2));
    for (std::size_t line = 0; line < TotalLines.size(); ++line) {
        setCell(goals_, row++, 0,
                tr("Over / under %1 goals").arg(locale.toString(TotalLines[line], 'f', 1)));
        setCell(goals_, row - 1, 1,
                percentText(figures.over[line]) + QStringLiteral(" / ") +
                    percentText(1 - figures.over[line]));
    }
    setCell(goals_, row++, 0, visibleScreenText(twoGoalMarginName(tally.visitor)), VisitorBlue);
    setCell(goals_, row - 1, 1, percentText(figures.visitorByTwo));
    setCell(goals_, row++, 0, visibleScreenText(twoGoalMarginName(tally.home)), HomeRed);
    setCell(goals_, row - 1, 1, percentText(figures.homeByTwo));
}

void OddsWindow::showTotalGoals(const OddsTally& tally) {
    std::array<std::uint64_t, TotalGoalsShown> games{};
    for (const auto& [score, count] : tally.scores()) {
        games[std::size_t(std::min(score.first + score.second, TotalGoalsShown - 1))] += count;
    }
    double highest = 0;
    for (int goals = 0; goals < TotalGoalsShown; ++goals) {
        const double share =
            tally.games == 0 ? 0 : double(games[std::size_t(goals)]) / double(tally.games);
        totalGoalsBars_->replace(goals, share * Percent);
        highest = std::max(highest, share * Percent);
    }
    // The axis ends at the next 5 % above the highest bar, with a line every 5 %.
    const double top = std::max(5.0, std::ceil(highest / 5) * 5);
    totalGoalsAxis_->setRange(0, top);
    totalGoalsAxis_->setTickCount(int(top / 5) + 1);
}

void OddsWindow::showMoneyLines(const OddsTally& tally, const OddsFigures& figures) {
    moneyLines_->setRowCount(int(figures.moneyLines.size()));
    const std::string separator = QLocale().decimalPoint().toStdString();
    for (int row = 0; row < int(figures.moneyLines.size()); ++row) {
        const MoneyLineShare& line = figures.moneyLines[std::size_t(row)];
        const QColor colour = line.favourite == Favourite::Visitor ? VisitorBlue
                              : line.favourite == Favourite::Home  ? HomeRed
                                                                   : QColor(Qt::black);
        setCell(moneyLines_, row, 0, visibleScreenText(moneyLineCaption(line, tally, separator)),
                colour);
        setCell(moneyLines_, row, 1, percentText(line.share));
    }
}

void OddsWindow::showScorers(QTableWidget* table,
                             const std::array<PlayerTally, PlayersPerTeam>& players,
                             const std::array<ScorerFigures, PlayersPerTeam>& ranked) {
    const QLocale locale;
    for (int row = 0; row < int(ranked.size()); ++row) {
        const ScorerFigures& scorer = ranked[std::size_t(row)];
        const QString name = visibleScreenText(players[scorer.row].name);
        setCell(table, row, 0, name);
        table->item(row, 0)->setToolTip(name); // whole, should the column cut it short
        setCell(table, row, 1, percentText(scorer.anytime));
        setCell(table, row, 2, locale.toString(scorer.goalsPerGame, 'f', 3));
    }
}

void OddsWindow::showEdges() {
    const std::optional<double> visitorOdds = offeredOdds(visitorOffered_->text());
    const std::optional<double> homeOdds = offeredOdds(homeOffered_->text());
    const bool previous = figuresOfPreviousRun();
    const OddsFigures figures =
        shown_ && !previous ? oddsFigures(*shown_, visitorOdds, homeOdds) : OddsFigures{};
    std::optional<MarketSummary> tested;
    QString testText;
    try {
        tested = readMarketSummary(season_.rosterFolder);
        testText = QString::fromStdString(marketSummaryLine(tested));
    } catch (const std::exception& error) {
        testText = QString::fromStdString(error.what());
    }
    modelTest_->setText(testText);
    const auto show = [&](QLabel* label, const QLineEdit* field,
                          const std::optional<double>& edge) {
        if (edge) {
            // A positive edge of a size the season's backtest did not find paying is marked.
            const bool unproven = *edge > 0 && !edgeFoundProfitable(tested, *edge);
            label->setText(signedText(*edge * Percent, 1) + QStringLiteral(" %"));
            label->setToolTip(unproven
                                  ? tr("An edge of a size the backtest did not find profitable")
                                  : QString());
            setTextColour(label, QPalette::WindowText,
                          unproven    ? UnprovenAmber
                          : *edge > 0 ? GainGreen
                                      : LossRed);
        } else {
            const bool unreadable =
                !field->text().trimmed().isEmpty() && !offeredOdds(field->text());
            label->setText(unreadable ? tr("not odds") : QString());
            setTextColour(label, QPalette::WindowText, LossRed);
        }
    };
    show(visitorEdge_, visitorOffered_, figures.visitorEdge);
    show(homeEdge_, homeOffered_, figures.homeEdge);
    const bool unreadable = (!visitorOffered_->text().trimmed().isEmpty() && !visitorOdds) ||
                            (!homeOffered_->text().trimmed().isEmpty() && !homeOdds);
    QString note = edgeNoteText();
    if (unreadable) {
        note = tr("Not odds: type %1.").arg(acceptedOdds());
    } else if (previous) {
        note = tr("No edge against the figures of the previous run: press Run first.");
    }
    edgeNote_->setText(note);
    setTextColour(edgeNote_, QPalette::WindowText,
                  unreadable || previous ? LossRed : palette().color(QPalette::WindowText));
}

} // namespace zelkor::ui
