#include "ui/ReadMeWindow.h"

#include "ui/HelpText.h"
#include "ui/Twips.h"
#include "ui/WindowFonts.h"

#include <system_error>

#include <QFile>
#include <QIcon>
#include <QPlainTextEdit>

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
