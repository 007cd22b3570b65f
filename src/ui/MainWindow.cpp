#include "ui/MainWindow.h"

#include "core/DisplayText.h"
#include "core/Errors.h"
#include "core/LogLine.h"
#include "engine/InputChecks.h"
#include "season/TeamCodeSuggestion.h"
#include "ui/LineWidget.h"
#include "ui/OddsWindow.h"
#include "ui/ReadMeWindow.h"
#include "ui/SeasonBuildDialog.h"
#include "ui/SeasonOutlookWindow.h"
#include "ui/Twips.h"
#include "ui/WindowFonts.h"
#include "ui/WindowText.h"

#include <algorithm>
#include <span>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QStringDecoder>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace zelkor::ui {

namespace {

const QColor VisitorBlue(0, 0, 255);
const QColor HomeRed(255, 0, 0);
const QColor TitlePurple(192, 0, 192);

// Point sizes of the window: its own font and the sizes the controls choose.
constexpr qreal WindowPoints = 13.5;
constexpr qreal SmallPoints = 8.25;
constexpr qreal TitlePoints = 9.75;
constexpr qreal EntryPoints = 12;

// The title of every message box. Without one the platform would show the program's file
// name; setting it for the boxes alone leaves every window's caption as it is.
const QString MessageTitle = QStringLiteral("ZELKOR");

// Where the season choice is kept between runs.
const QString SeasonFolderKey = QStringLiteral("season/folder"); // empty: the built-in season
const QString RecentSeasonsKey = QStringLiteral("season/recent");

// Client area of the window, in twips.
constexpr int ClientWidthTwips = 7410;
constexpr int ClientHeightTwips = 6585;

// The log for the screen: control characters in names shown visibly, line ends kept.
QString screenLog(std::string_view log) {
    std::string visible;
    for (std::size_t start = 0; start < log.size();) {
        const std::size_t end = std::min(log.find(LogLineEnd, start), log.size());
        visible += visibleText(log.substr(start, end - start));
        if (end < log.size()) {
            visible += '\n';
        }
        start = end + LogLineEnd.size();
    }
    return screenText(visible);
}

void setTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

void setBackground(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    setTextColour(widget, role, colour);
    widget->setAutoFillBackground(role == QPalette::Window);
}

QLabel* addLabel(QWidget* client, const char* name, const QString& caption, QRect box,
                 Qt::Alignment alignment = Qt::AlignLeft) {
    auto* label = new QLabel(caption, client);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(box);
    label->setAlignment(alignment | Qt::AlignTop);
    // Captions show codes the user typed: never take them for markup.
    label->setTextFormat(Qt::PlainText);
    // Captions wider than their box wrap at word boundaries, as the hint does.
    label->setWordWrap(true);
    return label;
}

QLineEdit* addTextBox(QWidget* client, const char* name, QRect box) {
    auto* text = new QLineEdit(client);
    text->setObjectName(QString::fromLatin1(name));
    text->setGeometry(box);
    return text;
}

// Narrows the box's font where needed, so that every code of its list fits beside the
// drop-down button: the boxes were drawn for a narrower button than some styles have.
void fitCodesBesideButton(QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = true;
    option.frame = true;
    const int field =
        combo->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
            .width();
    // QLineEdit keeps two pixels clear on each side of its text, and one for the cursor.
    const int room = field - 5;
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i) {
        widest = std::max(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
    }
    if (widest > room && room > 0) {
        QFont font = combo->font();
        const int stretch = font.stretch() > 0 ? font.stretch() : int(QFont::Unstretched);
        font.setStretch(std::max(int(QFont::UltraCondensed), stretch * room / widest));
        combo->setFont(font);
    }
}

QComboBox* addTeamBox(QWidget* client, const char* name, QRect box, const QStringList& codes) {
    auto* combo = new QComboBox(client);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setGeometry(box);
    combo->setEditable(true);
    // Typed codes are taken as typed: no completion, and nothing is added to the list.
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(codes);
    combo->setCurrentIndex(0);
    combo->setFont(windowFont(EntryPoints, true));
    fitCodesBesideButton(combo);
    return combo;
}

// A line from one point to another in twips, thickness in pixels, growing right and down.
void addLine(QWidget* client, const char* name, QPoint from, QPoint to, int thickness) {
    auto* line = new LineWidget(client);
    line->setObjectName(QString::fromLatin1(name));
    const QPoint start(pixels(std::min(from.x(), to.x())), pixels(std::min(from.y(), to.y())));
    const QPoint end(pixels(std::max(from.x(), to.x())), pixels(std::max(from.y(), to.y())));
    line->setGeometry(QRect(start, end + QPoint(thickness - 1, thickness - 1)));
}

// The window's services for one face-off, with a code the team directory knows offered in
// the message that refuses a code.
class SuggestingServices : public WindowServices {
public:
    SuggestingServices(WindowServices& window, std::string suggestion)
        : window_(window), suggestion_(std::move(suggestion)) {}

    void beep() override { window_.beep(); }
    std::string visitorGaaText() const override { return window_.visitorGaaText(); }
    std::string homeGaaText() const override { return window_.homeGaaText(); }
    void showMessage(const std::string& message) override {
        window_.showMessage(message + suggestion_);
    }
    void clearLog() override { window_.clearLog(); }
    void appendLog(std::string_view line) override { window_.appendLog(line); }
    void goalScored(bool visiting, int row, int minute, bool overtime) override {
        window_.goalScored(visiting, row, minute, overtime);
    }
    void gameEnded(int visitorScore, int homeScore, bool overtime) override {
        window_.gameEnded(visitorScore, homeScore, overtime);
    }
    void setVisitorAverage(const std::string& text) override { window_.setVisitorAverage(text); }
    void setHomeAverage(const std::string& text) override { window_.setHomeAverage(text); }
    void setMoneyLine(const std::string& caption) override { window_.setMoneyLine(caption); }
    std::string decimalSeparator() const override { return window_.decimalSeparator(); }

private:
    WindowServices& window_;
    std::string suggestion_;
};

} // namespace

MainWindow::MainWindow(std::filesystem::path rosterFolder, QWidget* parent)
    : QMainWindow(parent), predictor_(rosterFolder), builtInRosters_(rosterFolder),
      season_(builtInSeason(std::move(rosterFolder))) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral(" ZELKOR: THE HOCKEY PREDICTION PROGRAM!"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/zelkor.png")));

    // The underlined letters (Alt+R, Alt+O, Alt+S) leave the captions' words as they are.
    QAction* mnuReadMe = menuBar()->addAction(QStringLiteral("&ReadMe"));
    mnuReadMe->setObjectName(QStringLiteral("mnuReadMe"));
    connect(mnuReadMe, &QAction::triggered, this, &MainWindow::openReadMe);
    QAction* oddsItem = menuBar()->addAction(QStringLiteral("&Odds"));
    oddsItem->setObjectName(QStringLiteral("oddsMenuItem"));
    connect(oddsItem, &QAction::triggered, this, &MainWindow::openOdds);
    buildSeasonMenu();
    // F10 goes to the menus, as on other desktops; the Season menu is the one with items.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(seasonMenu_->menuAction()); });
    // The season in use, named at the menu bar's right end: the window's own area keeps
    // its fixed layout.
    seasonName_ = new QLabel(menuBar());
    seasonName_->setObjectName(QStringLiteral("lblSeasonInUse"));
    seasonName_->setContentsMargins(8, 0, 8, 0);
    seasonName_->setTextFormat(Qt::PlainText);
    menuBar()->setCornerWidget(seasonName_, Qt::TopRightCorner);
    showSeasonName();

    auto* client = new QWidget(this);
    client->setFixedSize(pixels(ClientWidthTwips), pixels(ClientHeightTwips));
    client->setFont(windowFont(WindowPoints, true));
    setCentralWidget(client);
    // The controls have fixed places, so the window has a fixed size too.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    buildControls(client);
    setFocusOrder();

    connect(CmdGo_, &QPushButton::clicked, this, &MainWindow::faceOff);
    for (QWidget* box : {static_cast<QWidget*>(cboVisitor_), static_cast<QWidget*>(txtGAAV_),
                         static_cast<QWidget*>(cboHome_), static_cast<QWidget*>(txtGAAH_)}) {
        box->installEventFilter(this);
    }
    cboVisitor_->setFocus();
}

MainWindow::~MainWindow() {
    delete odds_;
    delete outlook_;
    delete readMe_;
}

void MainWindow::buildSeasonMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Season"));
    menu->setObjectName(QStringLiteral("mnuSeason"));
    seasonMenu_ = menu;
    builtInSeasonItem_ = menu->addAction(QStringLiteral("&Built-in season 2000-01"));
    builtInSeasonItem_->setObjectName(QStringLiteral("mnuBuiltInSeason"));
    builtInSeasonItem_->setCheckable(true);
    builtInSeasonItem_->setChecked(true);
    connect(builtInSeasonItem_, &QAction::triggered, this, &MainWindow::useBuiltInSeason);
    QAction* open = menu->addAction(QStringLiteral("&Open season folder\u2026"));
    open->setObjectName(QStringLiteral("mnuOpenSeason"));
    connect(open, &QAction::triggered, this, &MainWindow::chooseSeasonFolder);
    menu->addSeparator();
    for (int i = 0; i < MostRecentSeasons; ++i) {
        QAction* recent = menu->addAction(QString());
        recent->setObjectName(QStringLiteral("mnuRecentSeason%1").arg(i + 1));
        recent->setCheckable(true);
        recent->setVisible(false);
        recentSeasonItems_.append(recent);
    }
    // The recent folders are told apart by the folder each carries.
    connect(menu, &QMenu::triggered, this, &MainWindow::seasonItemChosen);
    menu->addSeparator();
    QAction* build = menu->addAction(QStringLiteral("B&uild season\u2026"));
    build->setObjectName(QStringLiteral("mnuBuildSeason"));
    connect(build, &QAction::triggered, this, &MainWindow::openSeasonBuild);
    // "O" opens a folder, so the outlook takes its "t".
    QAction* outlook = menu->addAction(QStringLiteral("Season ou&tlook\u2026"));
    outlook->setObjectName(QStringLiteral("mnuSeasonOutlook"));
    connect(outlook, &QAction::triggered, this, &MainWindow::openSeasonOutlook);
    showRecentSeasons(QSettings().value(RecentSeasonsKey).toStringList());
}

// The controls in the order in which they overlap: a later one lies over an earlier one.
void MainWindow::buildControls(QWidget* client) {
    const QColor white(Qt::white);
    const QColor face = client->palette().color(QPalette::Button);

    QLabel* lblTitle =
        addLabel(client, "lblTitle", QStringLiteral("ENTER THE TEAMS AND GOALS AGAINST AVERAGES"),
                 boxFromTwips(600, 120, 6210, 600), Qt::AlignHCenter);
    setTextColour(lblTitle, QPalette::WindowText, TitlePurple);
    lblTitle->setFont(windowFont(TitlePoints, true, true));

    QLabel* Label6 =
        addLabel(client, "Label6", QStringLiteral("(Enter first three letters in CAPs)"),
                 boxFromTwips(120, 480, 2805, 405));
    Label6->setFont(windowFont(SmallPoints, true));

    QLabel* lblVisitor = addLabel(client, "lblVisitor", QStringLiteral("VISITOR"),
                                  boxFromTwips(1920, 1005, 1380, 405));
    setTextColour(lblVisitor, QPalette::WindowText, VisitorBlue);

    cboVisitor_ = addTeamBox(client, "cboVisitor", boxFromTwips(360, 960, 855, 420),
                             teamCodes(season_.ratings.table->road()));
    setTextColour(cboVisitor_, QPalette::Text, VisitorBlue);

    QLabel* lblScore = addLabel(client, "lblScore", QStringLiteral("Score"),
                                boxFromTwips(3840, 1440, 615, 255), Qt::AlignHCenter);
    lblScore->setFont(windowFont(SmallPoints, true));
    setBackground(lblScore, QPalette::Window, white);

    CmdGo_ = new QPushButton(QStringLiteral("FaceOff!"), client);
    CmdGo_->setObjectName(QStringLiteral("CmdGo"));
    CmdGo_->setGeometry(boxFromTwips(5160, 1560, 1335, 795));
    CmdGo_->setFont(windowFont(EntryPoints, true));
    // Enter on the focused button presses it, as Space does.
    CmdGo_->setAutoDefault(true);

    txtGAAV_ = addTextBox(client, "txtGAAV", boxFromTwips(360, 1717, 800, 480));
    setTextColour(txtGAAV_, QPalette::Text, VisitorBlue);
    txtGAAV_->setFont(windowFont(EntryPoints, true));

    txtResultVisitor_ = addTextBox(client, "txtResultVisitor", boxFromTwips(3840, 1707, 600, 500));
    setTextColour(txtResultVisitor_, QPalette::Text, VisitorBlue);
    setBackground(txtResultVisitor_, QPalette::Base, face);

    QLabel* lblGAAV = addLabel(client, "lblGAAV", QStringLiteral("Goals Against Average"),
                               boxFromTwips(1635, 1755, 1965, 405));
    setTextColour(lblGAAV, QPalette::WindowText, VisitorBlue);
    lblGAAV->setFont(windowFont(SmallPoints, true));

    cboHome_ = addTeamBox(client, "cboHome", boxFromTwips(360, 2400, 855, 420),
                          teamCodes(season_.ratings.table->home()));
    setTextColour(cboHome_, QPalette::Text, HomeRed);

    QLabel* lblHome =
        addLabel(client, "lblHome", QStringLiteral("HOME"), boxFromTwips(2018, 2520, 1185, 405));
    setTextColour(lblHome, QPalette::WindowText, HomeRed);

    QLabel* lblScore2 = addLabel(client, "lblScore2", QStringLiteral("Score"),
                                 boxFromTwips(3840, 2880, 615, 375), Qt::AlignHCenter);
    lblScore2->setFont(windowFont(SmallPoints, true));
    setBackground(lblScore2, QPalette::Window, white);

    QLabel* lblMoneyLine = addLabel(client, "lblMoneyLine", QStringLiteral("Money Line"),
                                    boxFromTwips(4920, 3000, 1815, 255), Qt::AlignHCenter);
    lblMoneyLine->setFont(windowFont(SmallPoints, false));
    setBackground(lblMoneyLine, QPalette::Window, white);

    lblBet_ = addLabel(client, "lblBet", QString(), boxFromTwips(4680, 3360, 2295, 375),
                       Qt::AlignHCenter);
    lblBet_->setFont(windowFont(TitlePoints, true));
    setBackground(lblBet_, QPalette::Window, white);

    txtResultHome_ = addTextBox(client, "txtResultHome", boxFromTwips(3840, 3147, 600, 500));
    setTextColour(txtResultHome_, QPalette::Text, HomeRed);
    setBackground(txtResultHome_, QPalette::Base, face);

    txtGAAH_ = addTextBox(client, "txtGAAH", boxFromTwips(360, 3157, 800, 480));
    setTextColour(txtGAAH_, QPalette::Text, HomeRed);
    txtGAAH_->setFont(windowFont(EntryPoints, true));

    QLabel* lblGAAH = addLabel(client, "lblGAAH", QStringLiteral("Goals Against Average"),
                               boxFromTwips(1635, 3195, 1965, 405));
    setTextColour(lblGAAH, QPalette::WindowText, HomeRed);
    lblGAAH->setFont(windowFont(SmallPoints, true));

    txtResults_ = new QPlainTextEdit(client);
    txtResults_->setObjectName(QStringLiteral("txtResults"));
    txtResults_->setGeometry(boxFromTwips(360, 4080, 6735, 2535));
    txtResults_->setFont(windowFont(SmallPoints, true));
    txtResults_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtResults_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtResults_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtResults_->setTabChangesFocus(true);

    // The box round the money line; the right and bottom sides are twice as thick. The
    // lines come last so that they lie over the money-line caption that touches them.
    addLine(client, "Line1", {4680, 2880}, {4680, 3840}, 1);
    addLine(client, "Line2", {4680, 2880}, {7080, 2880}, 1);
    addLine(client, "Line3", {7080, 3840}, {4680, 3840}, 2);
    addLine(client, "Line4", {7080, 2880}, {7080, 3840}, 2);

    // Labels and lines never take the focus; the result boxes do, after the log.
    for (QLabel* label : client->findChildren<QLabel*>()) {
        label->setFocusPolicy(Qt::NoFocus);
    }
}

void MainWindow::setFocusOrder() {
    QWidget* const order[] = {cboVisitor_, txtGAAV_,    cboHome_,       txtGAAH_,
                              CmdGo_,      txtResults_, txtResultHome_, txtResultVisitor_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window taking over, or a box opening its list, is no leaving of the box;
        // judging it then would also stack a second message on the first.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == cboVisitor_) {
                teamBoxLeft(cboVisitor_, predictor_.state().VISITOR);
            } else if (watched == cboHome_) {
                teamBoxLeft(cboHome_, predictor_.state().HOME);
            } else if (watched == txtGAAV_) {
                gaaBoxLeft(txtGAAV_, predictor_.state().GAAV);
            } else if (watched == txtGAAH_) {
                gaaBoxLeft(txtGAAH_, predictor_.state().GAAH);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::teamBoxLeft(const QComboBox* box, std::string& code) {
    code = box->currentText().toStdString();
}

void MainWindow::gaaBoxLeft(QLineEdit* box, Single& gaa) {
    const QString text = box->text();
    // A box left empty changes nothing; the face-off run asks for the average itself.
    if (text.isEmpty()) {
        return;
    }
    bool converted = false;
    const double value = QLocale().toDouble(text.trimmed(), &converted);
    // Blanks alone, words, "inf" and "nan" are no averages, nor is a number that a Single
    // cannot hold: refused, and nothing is stored.
    const GaaProblem problem = converted ? gaaProblem(value) : GaaProblem::NotANumber;
    if (problem == GaaProblem::None || problem == GaaProblem::NotAboveZero) {
        gaa = static_cast<Single>(value);
    }
    if (problem == GaaProblem::None) {
        return;
    }
    // A text that is no number ("2.60" where decimals follow a comma) is told how numbers
    // are written here; blanks alone, like 0, are a value not above 0.
    const bool notANumber = !converted && !text.trimmed().isEmpty();
    showMessage(notANumber ? notANumberMessage(text.toStdString(), decimalSeparator())
                           : ValueAboveZeroMessage);
    returnFocusTo(box);
}

void MainWindow::returnFocusTo(QWidget* box) {
    // The message box took the activation with it; the focus can only return once the
    // window is active again.
    activateWindow();
    box->setFocus(Qt::OtherFocusReason);
}

void MainWindow::faceOff() {
    // A team box that has not lost the focus yet still counts with the code it shows.
    PredictionState& state = predictor_.state();
    teamBoxLeft(cboVisitor_, state.VISITOR);
    teamBoxLeft(cboHome_, state.HOME);
    logChanged_ = false;
    // A code the season lacks may be one the team directory knows by another ("VEG" for
    // VGK): the refusal offers it, as it offers capitals for small letters.
    std::string suggestion;
    if (const auto refusal =
            faceOffRefusal(state, visitorGaaText(), homeGaaText(), *season_.ratings.table);
        refusal && refusal->kind == RefusalKind::TeamUnknown &&
        refusal->message.find("did you mean") == std::string::npos) {
        const bool visiting = refusal->field == InputField::VisitorTeam;
        suggestion = teamCodeSuggestionText(visiting ? state.VISITOR : state.HOME,
                                            *season_.ratings.table, visiting);
    }
    SuggestingServices services(*this, suggestion);
    if (const FaceOffResult result = predictor_.faceOff(services); result.refusal) {
        returnFocusAfter(*result.refusal);
    }
    if (logChanged_) {
        txtResults_->setPlainText(screenLog(log_));
    }
}

void MainWindow::returnFocusAfter(const InputRefusal& refusal) {
    // A missing GAA leaves the focus where it is.
    if (refusal.kind == RefusalKind::GaaMissing) {
        return;
    }
    switch (refusal.field) {
    case InputField::VisitorTeam:
        returnFocusTo(cboVisitor_);
        break;
    case InputField::HomeTeam:
        returnFocusTo(cboHome_);
        break;
    case InputField::VisitorGaa:
        returnFocusTo(txtGAAV_);
        break;
    case InputField::HomeGaa:
        returnFocusTo(txtGAAH_);
        break;
    }
}

void MainWindow::openReadMe() {
    // One help window at most. It has no owner, so closing this window leaves it open.
    if (!readMe_) {
        readMe_ = new ReadMeWindow(season_);
    }
    readMe_->show();
    readMe_->raise();
    readMe_->activateWindow();
}

void MainWindow::openOdds() {
    // One Odds window at most, without owner like the help window. It starts from the
    // entries as they stand and is edited on its own from then on.
    if (!odds_) {
        odds_ = new OddsWindow({cboVisitor_->currentText(), cboHome_->currentText(),
                                txtGAAV_->text(), txtGAAH_->text()},
                               season_);
    }
    odds_->show();
    odds_->raise();
    odds_->activateWindow();
}

void MainWindow::openSeasonOutlook() {
    // One outlook window at most, without owner like the Odds window.
    if (!outlook_) {
        outlook_ = new SeasonOutlookWindow(season_);
    }
    outlook_->show();
    outlook_->raise();
    outlook_->activateWindow();
}

void MainWindow::restoreSeason() {
    const QString folder = QSettings().value(SeasonFolderKey).toString();
    if (folder.isEmpty()) {
        return;
    }
    try {
        useSeason(folderSeason(QFile::encodeName(folder).toStdString()));
    } catch (const ZelkorError& error) {
        showMessage(std::string(error.what()) +
                    " ZELKOR predicts with the built-in season 2000-01 instead.");
        useBuiltInSeason();
    }
}

bool MainWindow::openSeasonFolder(const std::filesystem::path& folder) {
    try {
        useSeason(folderSeason(folder));
        return true;
    } catch (const ZelkorError& error) {
        showMessage(error.what());
        // The item chosen toggled its mark; the marks show the season still in use.
        showRecentSeasons(QSettings().value(RecentSeasonsKey).toStringList());
        return false;
    }
}

void MainWindow::useBuiltInSeason() {
    useSeason(builtInSeason(builtInRosters_));
}

void MainWindow::chooseSeasonFolder() {
    const QString start = season_.folder ? QFile::decodeName(season_.folder->c_str()) : QString();
    const QString folder =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Open season folder"), start);
    if (!folder.isEmpty()) {
        openSeasonFolder(QFile::encodeName(folder).toStdString());
    }
}

void MainWindow::seasonItemChosen(QAction* item) {
    const QVariant folder = item->data();
    if (recentSeasonItems_.contains(item) && folder.isValid()) {
        openSeasonFolder(QFile::encodeName(folder.toString()).toStdString());
    }
}

void MainWindow::openSeasonBuild() {
    SeasonBuildDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        openSeasonFolder(dialog.builtFolder());
    }
}

void MainWindow::useSeason(SeasonInUse season) {
    season_ = std::move(season);
    predictor_.useSeason(season_.rosterFolder, season_.ratings.table);
    predictor_.useShootouts(season_.ratings.shootouts);
    showTeamCodes();

    QSettings settings;
    QStringList recent = settings.value(RecentSeasonsKey).toStringList();
    if (season_.folder) {
        const QString folder = QFile::decodeName(season_.folder->c_str());
        settings.setValue(SeasonFolderKey, folder);
        recent = withRecentSeason(recent, folder);
        settings.setValue(RecentSeasonsKey, recent);
    } else {
        settings.setValue(SeasonFolderKey, QString());
    }
    showRecentSeasons(recent);
    showSeasonName();
    if (readMe_) {
        readMe_->showSeason(season_);
    }
    if (odds_) {
        odds_->useSeason(season_);
    }
    if (outlook_) {
        outlook_->useSeason(season_);
    }
}

void MainWindow::showRecentSeasons(const QStringList& recent) {
    const QString inUse = season_.folder ? QFile::decodeName(season_.folder->c_str()) : QString();
    builtInSeasonItem_->setChecked(!season_.folder);
    for (int i = 0; i < recentSeasonItems_.size(); ++i) {
        QAction* item = recentSeasonItems_[i];
        const bool shown = i < recent.size();
        item->setVisible(shown);
        item->setData(shown ? QVariant(recent[i]) : QVariant());
        // "&1 /path": the number chooses it from the keyboard; an ampersand of the path stays.
        item->setText(shown ? QStringLiteral("&%1 %2").arg(i + 1).arg(QString(recent[i]).replace(
                                  QLatin1Char('&'), QStringLiteral("&&")))
                            : QString());
        item->setChecked(shown && recent[i] == inUse);
    }
}

void MainWindow::showSeasonName() {
    if (season_.folder) {
        seasonName_->setText(QStringLiteral("Season: %1")
                                 .arg(QFile::decodeName(season_.folder->filename().c_str())));
        seasonName_->setToolTip(QFile::decodeName(season_.folder->c_str()));
    } else {
        seasonName_->setText(QStringLiteral("Season: built-in 2000-01"));
        seasonName_->setToolTip(QFile::decodeName(season_.rosterFolder.c_str()));
    }
}

void MainWindow::showTeamCodes() {
    // A code the user entered stays when the new season has it.
    const auto refill = [](QComboBox* box, const QStringList& codes) {
        const QString entered = box->currentText();
        box->clear();
        box->setFont(windowFont(EntryPoints, true));
        box->addItems(codes);
        const int kept = int(codes.indexOf(entered));
        box->setCurrentIndex(kept >= 0 ? kept : 0);
        fitCodesBesideButton(box);
    };
    refill(cboVisitor_, teamCodes(season_.ratings.table->road()));
    refill(cboHome_, teamCodes(season_.ratings.table->home()));
}

void MainWindow::beep() {
    QApplication::beep();
}

std::string MainWindow::visitorGaaText() const {
    return txtGAAV_->text().toStdString();
}

std::string MainWindow::homeGaaText() const {
    return txtGAAH_->text().toStdString();
}

void MainWindow::showMessage(const std::string& message) {
    // Its line breaks (CR LF or LF) stay line breaks; other control characters show visibly.
    QString text;
    std::string_view rest = message;
    for (std::size_t end = rest.find('\n');; end = rest.find('\n')) {
        std::string_view line = rest.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        text += visibleScreenText(line);
        if (end == std::string_view::npos) {
            break;
        }
        text += '\n';
        rest.remove_prefix(end + 1);
    }
    QMessageBox box(QMessageBox::NoIcon, MessageTitle, text, QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void MainWindow::clearLog() {
    log_.clear();
    logChanged_ = true;
}

void MainWindow::appendLog(std::string_view line) {
    log_ += line;
    logChanged_ = true;
}

void MainWindow::setVisitorAverage(const std::string& text) {
    txtResultVisitor_->setText(screenText(text));
}

void MainWindow::setHomeAverage(const std::string& text) {
    txtResultHome_->setText(screenText(text));
}

void MainWindow::setMoneyLine(const std::string& caption) {
    lblBet_->setText(screenText(caption));
}

std::string MainWindow::decimalSeparator() const {
    return QLocale().decimalPoint().toStdString();
}

} // namespace zelkor::ui
