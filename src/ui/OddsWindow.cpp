#include "ui/OddsWindow.h"

#include "core/DisplayText.h"
#include "engine/InputChecks.h"
#include "odds/ManySeries.h"
#include "season/MarketSummary.h"
#include "season/OddsJson.h"
#include "season/TeamCodeSuggestion.h"
#include "simulation/RandomSource.h"
#include "ui/BackgroundRun.h"
#include "ui/OddsRun.h"
#include "ui/ScoreHeatMap.h"
#include "ui/TableText.h"
#include "ui/WindowText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
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
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
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
const QColor BarPurple(110, 40, 150);
const QColor StaleGrey(175, 175, 175);   // bars of the previous run's figures
const QColor UnprovenAmber(160, 100, 0); // a positive edge of a size the backtest saw not pay

constexpr double Percent = 100.0;   // shares are shown as percentages
constexpr int ProgressSteps = 1000; // the progress bar counts in tenths of a percent
constexpr int TotalGoalsShown = 12; // bars for 0 to 10 total goals, then one for 11 or more
constexpr int TieRow = 4;           // the outcomes' row of games level after overtime
constexpr int MoneyLineRows = 6;    // money-line captions in view without scrolling
// Room the window system's frame takes round a window: a title bar and thin borders.
constexpr int FrameWidth = 16;
constexpr int FrameHeight = 48;

// Columns of the betting lines' table.
enum LineColumn { LineName, LineChance, LineDecimal, LineAmerican, LineOffered, LineEdge };

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

QString decimalText(const std::optional<FairOdds>& fair) {
    return fair ? QLocale().toString(fair->decimal, 'f', 2) : QStringLiteral("-");
}

QString americanText(const std::optional<FairOdds>& fair) {
    return fair ? signedText(std::round(fair->american), 0) : QStringLiteral("-");
}

QColor sideColour(LineSide side) {
    return side == LineSide::Visitor ? VisitorBlue
           : side == LineSide::Home  ? HomeRed
                                     : QColor(Qt::black);
}

// The season as the windows name it: its folder's name, or the built-in one.
QString seasonText(const SeasonInUse& season) {
    return season.folder
               ? QObject::tr("Season: %1").arg(QFile::decodeName(season.folder->filename().c_str()))
               : QObject::tr("Season: built-in 2000-01");
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
    body->addLayout(right, 0, 2, 2, 1);
    // The bettor's lines under the figures and the charts: their seven columns need the
    // width of both.
    body->addWidget(buildBettingLines(), 1, 0, 1, 2);
    // The score grid is square, so width beyond its height goes to the scorers' names.
    body->setColumnStretch(1, 0);
    body->setColumnStretch(2, 1);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("figuresScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);
    for (QWidget* figure : std::initializer_list<QWidget*>{
             outcomes_, goals_, bettingLines_, scoreMap_, totalGoals_, moneyLines_, visitorScorers_,
             homeScorers_, visitorName_, homeName_}) {
        figureWidgets_.append(figure);
    }
    for (QTableWidget* table :
         {outcomes_, goals_, bettingLines_, moneyLines_, visitorScorers_, homeScorers_}) {
        offerTableCopy(table);
    }
    for (int kind = 0; kind < 3; ++kind) {
        figureWidgets_.append({visitorFair_[kind], homeFair_[kind]});
    }

    connect(runButton_, &QPushButton::clicked, this, &OddsWindow::startRun);
    connect(cancelButton_, &QPushButton::clicked, this, &OddsWindow::cancelRun);
    connect(exportButton_, &QPushButton::clicked, this, &OddsWindow::exportFigures);
    // Enter in any input starts a run, as the default button of a dialog would; the
    // bookmaker's fields below are left out, since a run there would replace the figures.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* enter = new QShortcut(key, inputsArea_);
        enter->setContext(Qt::WidgetWithChildrenShortcut);
        connect(enter, &QShortcut::activated, this, &OddsWindow::startRun);
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (run_->running()) {
            cancelRun();
        }
    });
    connect(run_, &OddsRun::progressed, this, &OddsWindow::runProgressed);
    connect(run_, &OddsRun::finished, this, &OddsWindow::runFinished);
    connect(run_, &OddsRun::cancelled, this, &OddsWindow::runCancelled);
    connect(run_, &OddsRun::failed, this, &OddsWindow::runFailed);
    connect(visitorOffered_, &QLineEdit::textChanged, this, &OddsWindow::showEdges);
    connect(homeOffered_, &QLineEdit::textChanged, this, &OddsWindow::showEdges);
    for (QLineEdit* offered : lineOffered_) {
        connect(offered, &QLineEdit::textChanged, this, &OddsWindow::showBettingLines);
    }
    for (QComboBox* team : {visitorTeam_, homeTeam_}) {
        connect(team, &QComboBox::editTextChanged, this, &OddsWindow::inputsChanged);
    }
    for (QLineEdit* gaa : {visitorGaa_, homeGaa_}) {
        connect(gaa, &QLineEdit::textChanged, this, &OddsWindow::inputsChanged);
    }
    setRunning(false);
    showSeasonName();
    // Room for every figure on a screen of 1366 x 768; on a smaller one the figures scroll.
    // The frame round the window has to fit on the screen too.
    QSize size(1340, 720);
    if (const QScreen* shown = screen()) {
        size = size.boundedTo(shown->availableGeometry().size() - QSize(FrameWidth, FrameHeight));
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

    const RunButtons buttons = newRunButtons(tr("Every figure shown, as CSV"));
    runButton_ = buttons.run;
    cancelButton_ = buttons.cancel;
    exportButton_ = buttons.exportFigures;
    seasonName_ = newSeasonNameLabel();
    progress_ = newRunProgressBar(ProgressSteps);
    status_ = newRunStatusLine();
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* inputs = new QWidget;
    inputsArea_ = inputs;
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
    row->addWidget(label(tr("G&AA"), visitorGaa_, VisitorBlue));
    row->addWidget(visitorGaa_);
    row->addSpacing(16);
    row->addWidget(label(tr("&Home"), homeTeam_, HomeRed));
    row->addWidget(homeTeam_);
    row->addWidget(label(tr("&GAA"), homeGaa_, HomeRed));
    row->addWidget(homeGaa_);
    row->addSpacing(16);
    row->addWidget(label(tr("&Series"), seriesCount_));
    row->addWidget(seriesCount_);
    row->addWidget(label(tr("S&eed"), seed_));
    row->addWidget(seed_);
    row->addSpacing(16);
    row->addWidget(runButton_);
    row->addWidget(cancelButton_);
    row->addSpacing(16);
    row->addWidget(exportButton_);
    row->addStretch();
    row->addWidget(seasonName_);
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
    goals_ = figureTable("goalsTable", {QString(), QString()}, 2);
    goals_->horizontalHeader()->hide();
    showRows(goals_, 2);
    return group(tr("Goals a game"), goals_);
}

QWidget* OddsWindow::buildBettingLines() {
    bettingLines_ = figureTable(
        "bettingLines",
        {tr("Line"), tr("Chance"), tr("Decimal"), tr("American"), tr("Bookmaker"), tr("Edge")}, 0);
    bettingLines_->horizontalHeaderItem(LineDecimal)->setToolTip(tr("Fair decimal odds"));
    bettingLines_->horizontalHeaderItem(LineAmerican)->setToolTip(tr("Fair American odds"));
    bettingLines_->horizontalHeaderItem(LineEdge)->setToolTip(
        tr("Expected return per unit staked at the bookmaker's odds"));
    // Each market under a row of its own across the table, in the library's order.
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("+1000.0")) + 12;
    std::string market;
    int row = 0;
    for (const BettingLine& line : bettingLines(OddsTally{})) {
        if (line.market != market) {
            market = line.market;
            bettingLines_->insertRow(row);
            bettingLines_->setSpan(row, 0, 1, bettingLines_->columnCount());
            setCell(bettingLines_, row, 0, QString::fromStdString(market));
            QFont bold = bettingLines_->font();
            bold.setBold(true);
            bettingLines_->item(row, 0)->setFont(bold);
            ++row;
        }
        bettingLines_->insertRow(row);
        auto* offered =
            lineBox(QStringLiteral("lineOffered%1").arg(lineRows_.size()).toLatin1().constData(),
                    {}, width);
        offered->setPlaceholderText(tr("odds"));
        offered->setToolTip(tr("The bookmaker's odds of this line: %1").arg(acceptedOdds()));
        offered->setAlignment(Qt::AlignRight);
        offered->setFrame(false);
        bettingLines_->setCellWidget(row, LineOffered, offered);
        lineOffered_.push_back(offered);
        lineRows_.push_back(row);
        ++row;
    }
    showRows(bettingLines_, row);
    return group(tr("Betting lines"), bettingLines_);
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
    totalGoalsBars_->setColor(BarPurple);
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
    auto* box = group(tr("Money line of an 11-game series"), moneyLines_);
    auto* note = new QLabel(tr("FaceOff! plays one series of 11 games and shows its money line. "
                               "Here: how often each line came out over the series played, so "
                               "how much one FaceOff! can vary. Not a price for one game: that "
                               "is the money line on the left."));
    note->setObjectName(QStringLiteral("moneyLinesNote"));
    note->setWordWrap(true);
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    note->setFont(small);
    box->layout()->addWidget(note);
    return box;
}

QWidget* OddsWindow::buildScorers(QTableWidget*& table, const char* name, const QString& title) {
    // Titled by its first column rather than a box around it: the names need the width.
    // Two figures a bettor reads; the goals a game are on each name's tooltip.
    table = figureTable(name, {title, tr("Anytime"), tr("Fair")}, PlayersPerTeam);
    table->horizontalHeaderItem(1)->setToolTip(tr("Chance of scoring at least once in a game"));
    table->horizontalHeaderItem(2)->setToolTip(
        tr("Fair decimal odds of an anytime goal; the American ones on each row's tooltip"));
    table->setMinimumWidth(230);
    return table;
}

QString OddsWindow::acceptedOdds() {
    const QLocale locale;
    const QString plusMinus = QStringLiteral("\u00b1");
    return tr("decimal with a decimal point %1 to %2 or American %3 to %4 (+150, -120; a "
              "whole number from 100 on is American)")
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
        if (refusal->kind == RefusalKind::TeamUnknown && !message.contains(tr("did you mean"))) {
            const bool visiting = refusal->field == InputField::VisitorTeam;
            message += visibleScreenText(teamCodeSuggestionText(
                visiting ? request.visitor : request.home, *season_.ratings.table, visiting));
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
    runShootouts_ = request.shootout;
    shownRatings_ = season_.ratings.source();
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
    showSeasonName();
    inputsChanged();
}

void OddsWindow::showSeasonName() {
    seasonName_->setText(seasonText(season_));
    seasonName_->setToolTip(QFile::decodeName(season_.rosterFolder.c_str()));
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
    showStaleness(previous);
    showEdges();
    showBettingLines();
}

void OddsWindow::showStaleness(bool previous) {
    for (QWidget* figure : figureWidgets_) {
        figure->setEnabled(!previous);
    }
    // The chart draws its bars in their own colour whatever the widget's state.
    totalGoalsBars_->setColor(previous ? StaleGrey : BarPurple);
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
    exportButton_->setEnabled(!running && shown_.has_value());
    // The focus goes to Cancel while a run goes and back to Run after, whether it ended or
    // was cancelled (which disables Cancel and so sends the focus on).
    (running ? cancelButton_ : runButton_)->setFocus(Qt::OtherFocusReason);
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
    showBettingLines();
    showScorers(visitorScorers_, tally.visitorPlayers, figures.visitorScorers);
    showScorers(homeScorers_, tally.homePlayers, figures.homeScorers);
    visitorScorers_->horizontalHeaderItem(0)->setText(tr("%1 scorers").arg(visitorName_->text()));
    homeScorers_->horizontalHeaderItem(0)->setText(tr("%1 scorers").arg(homeName_->text()));
    showEdges();
}

void OddsWindow::showOutcomes(const OddsTally& tally, const OddsFigures& figures) {
    const QString visitor = visibleScreenText(tally.visitor);
    const QString home = visibleScreenText(tally.home);
    // Where the shootout decides level games it is named, and no game ends level.
    const QString overtime =
        runShootouts_ ? tr("%1 wins in overtime or the shootout") : tr("%1 wins in overtime");
    const struct {
        QString label;
        const Probability& chance;
        QColor colour;
    } rows[] = {
        {tr("%1 wins in regulation").arg(visitor), figures.visitorRegulation, VisitorBlue},
        {overtime.arg(visitor), figures.visitorOvertime, VisitorBlue},
        {tr("%1 wins in regulation").arg(home), figures.homeRegulation, HomeRed},
        {overtime.arg(home), figures.homeOvertime, HomeRed},
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
    outcomes_->setRowHidden(TieRow, runShootouts_);
}

void OddsWindow::showFairOdds(const OddsFigures& figures) {
    const auto side = [](QLabel*(&labels)[3], double chance, const std::optional<FairOdds>& fair) {
        labels[0]->setText(percentText(chance));
        labels[1]->setText(decimalText(fair));
        labels[2]->setText(americanText(fair));
    };
    side(visitorFair_, figures.visitorTwoWay, figures.visitorFair);
    side(homeFair_, figures.homeTwoWay, figures.homeFair);
}

void OddsWindow::showGoals(const OddsTally&, const OddsFigures& figures) {
    const QLocale locale;
    setCell(goals_, 0, 0, tr("Expected goals %1").arg(visitorName_->text()), VisitorBlue);
    setCell(goals_, 0, 1, locale.toString(figures.expectedGoalsVisitor, 'f', 2));
    setCell(goals_, 1, 0, tr("Expected goals %1").arg(homeName_->text()), HomeRed);
    setCell(goals_, 1, 1, locale.toString(figures.expectedGoalsHome, 'f', 2));
}

void OddsWindow::showBettingLines() {
    std::vector<std::optional<double>> offered;
    for (const QLineEdit* field : lineOffered_) {
        offered.push_back(offeredOdds(field->text()));
    }
    const bool current = shown_ && !figuresOfPreviousRun();
    const std::vector<BettingLine> lines =
        shown_ ? bettingLines(*shown_, current ? offered : std::vector<std::optional<double>>{})
               : std::vector<BettingLine>{};
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const BettingLine& line = lines[index];
        const int row = lineRows_[index];
        setCell(bettingLines_, row, LineName, visibleScreenText(line.name), sideColour(line.side));
        setCell(bettingLines_, row, LineChance, percentText(line.chance));
        setCell(bettingLines_, row, LineDecimal, decimalText(line.fair));
        setCell(bettingLines_, row, LineAmerican, americanText(line.fair));
        const QLineEdit* field = lineOffered_[index];
        const bool unreadable = !field->text().trimmed().isEmpty() && !offered[index];
        setCell(bettingLines_, row, LineEdge,
                line.edge    ? signedText(*line.edge * Percent, 1) + QStringLiteral(" %")
                : unreadable ? tr("not odds")
                             : QString(),
                line.edge && *line.edge > 0 ? GainGreen : LossRed);
    }
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
        // Whole, should the column cut it short.
        table->item(row, 0)->setToolTip(
            tr("%1: %2 goals a game").arg(name, locale.toString(scorer.goalsPerGame, 'f', 3)));
        setCell(table, row, 1, percentText(scorer.anytime));
        const std::optional<FairOdds> fair = anytimeScorerOdds(scorer);
        setCell(table, row, 2, decimalText(fair));
        table->item(row, 2)->setToolTip(
            fair ? tr("Fair odds %1 or %2").arg(decimalText(fair), americanText(fair)) : QString());
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

QString OddsWindow::figuresCsv() const {
    if (!shown_) {
        return {};
    }
    const QChar comma(QLatin1Char(','));
    QString text = tr("Visitor,Home,Series,Games,Base seed,Season\n");
    QStringList head{visibleScreenText(shown_->visitor), visibleScreenText(shown_->home),
                     QString::number(shown_->series),    QString::number(shown_->games),
                     QString::number(baseSeed_),         seasonText(season_)};
    for (QString& cell : head) {
        if (cell.contains(comma) || cell.contains(QLatin1Char('"'))) {
            cell = QLatin1Char('"') + cell.replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
                   QLatin1Char('"');
        }
    }
    text += head.join(comma) + QLatin1Char('\n');
    const auto section = [&](const QString& title, const QTableWidget* table) {
        text += QLatin1Char('\n') + title + QLatin1Char('\n') + tableText(*table, comma);
    };
    section(tr("How the games end"), outcomes_);
    text += QLatin1Char('\n') + tr("Money line, level games as pushes") + QLatin1Char('\n') +
            tr("Side,Implied,Decimal,American,Bookmaker,Edge\n");
    for (const auto& [name, fair, offered, edge] :
         {std::tuple{visitorName_, visitorFair_, visitorOffered_, visitorEdge_},
          std::tuple{homeName_, homeFair_, homeOffered_, homeEdge_}}) {
        text += QStringList{name->text(),    fair[0]->text(), fair[1]->text(),
                            fair[2]->text(), offered->text(), edge->text()}
                    .join(comma) +
                QLatin1Char('\n');
    }
    section(tr("Goals a game"), goals_);
    section(tr("Betting lines"), bettingLines_);
    section(tr("Money line of an 11-game series"), moneyLines_);
    section(tr("Visitor scorers"), visitorScorers_);
    section(tr("Home scorers"), homeScorers_);
    text += QLatin1Char('\n') + tr("Final scores, %% of games (visitor goals down, home goals "
                                   "across; the last row and column hold more)\n");
    const QLocale c = QLocale::c();
    for (const auto& row : oddsFigures(*shown_).scoreGrid) {
        QStringList cells;
        for (const double share : row) {
            cells << c.toString(share * Percent, 'f', 2);
        }
        text += cells.join(comma) + QLatin1Char('\n');
    }
    return text;
}

void OddsWindow::exportFigures() {
    const QString csv = tr("CSV files (*.csv)");
    const QString json = tr("JSON files, as zelkor-cli --json writes them (*.json)");
    QString filter = csv;
    const QString file = QFileDialog::getSaveFileName(
        this, tr("Export the figures"), QStringLiteral("odds.csv"),
        csv + QStringLiteral(";;") + json + tr(";;All files (*)"), &filter);
    if (file.isEmpty() || !shown_) {
        return;
    }
    QByteArray bytes;
    if (filter == json || file.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) {
        // The JSON of the command line, with the season's summary when its file reads (the
        // line under the edges already names a summary that does not).
        std::optional<MarketSummary> tested;
        try {
            tested = readMarketSummary(season_.rosterFolder);
        } catch (const std::exception&) {
            tested.reset();
        }
        std::ostringstream text;
        writeOddsJson({*shown_, baseSeed_, offeredOdds(visitorOffered_->text()),
                       offeredOdds(homeOffered_->text()), shownRatings_, tested},
                      text);
        bytes = QByteArray::fromStdString(text.str());
    } else {
        bytes = figuresCsv().toUtf8();
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        showMessage(tr("The figures could not be written to '%1': %2")
                        .arg(QDir::toNativeSeparators(file), out.errorString()),
                    nullptr);
    }
}

} // namespace zelkor::ui
