#include "ui/ReadMeWindow.h"

#include "ui/HelpText.h"
#include "ui/Twips.h"
#include "ui/WindowFonts.h"

#include <algorithm>
#include <system_error>

#include <QFile>
#include <QIcon>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>

namespace zelkor::ui {

namespace {

// Client area of the window, in twips.
constexpr int ClientWidthTwips = 7725;
constexpr int ClientHeightTwips = 7095;

// Font size of the help text.
constexpr qreal TextPoints = 8.25;

} // namespace

ReadMeWindow::ReadMeWindow(const SeasonInUse& season, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmReadMe"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ReadMe ZELKOR"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/readme.png")));
    resize(pixels(ClientWidthTwips), pixels(ClientHeightTwips));

    Text1_ = new QPlainTextEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setGeometry(boxFromTwips(0, 0, 7695, 6855));
    Text1_->setFont(windowFont(TextPoints, false));
    // No horizontal scroll bar: long lines wrap at the box's edge.
    Text1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    showSeason(season);
    Text1_->setFocus();

    // Esc and Ctrl+W close it, as they close a help window elsewhere.
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)}) {
        auto* close = new QShortcut(key, this);
        connect(close, &QShortcut::activated, this, &QWidget::close);
    }
}

void ReadMeWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Where the window system put it, unless that leaves its bottom or right side off the
    // screen: then as far up and left as it takes to show it whole.
    const QScreen* shown = screen();
    if (shown == nullptr) {
        return;
    }
    const QRect room = shown->availableGeometry();
    const QRect frame = frameGeometry();
    QPoint place = frame.topLeft();
    place.setX(std::max(room.left(), std::min(place.x(), room.right() + 1 - frame.width())));
    place.setY(std::max(room.top(), std::min(place.y(), room.bottom() + 1 - frame.height())));
    if (place != frame.topLeft()) {
        move(place);
    }
}

void ReadMeWindow::showSeason(const SeasonInUse& season) {
    const std::filesystem::path& folder = season.rosterFolder;
    // The whole path, so that the user can find the files whichever folder the program
    // was started from.
    std::error_code unknown;
    const std::filesystem::path absolute = std::filesystem::absolute(folder, unknown);
    std::filesystem::path shown = unknown ? folder : absolute.lexically_normal();
    if (!shown.has_filename()) {
        shown = shown.parent_path(); // "/home/ann/rosters/" as "/home/ann/rosters"
    }
    // The text keeps its CR LF line ends; the box wants one line feed per line.
    const std::string name = QFile::decodeName(shown.c_str()).toStdString();
    QString text = QString::fromStdString(season.folder ? helpTextWithSeasonFolder(name)
                                                        : helpTextWithRosterFolder(name));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text1_->setPlainText(text);
}

} // namespace zelkor::ui
