#include "ui/ReadMeWindow.h"

#include "ui/HelpText.h"
#include "ui/Twips.h"
#include "ui/WindowFonts.h"

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

ReadMeWindow::ReadMeWindow(QWidget* parent) : QWidget(parent) {
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

    // The text keeps its CR LF line ends; the box wants one line feed per line.
    QString text = QString::fromUtf8(helpText().data(), qsizetype(helpText().size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text1_->setPlainText(text);
    Text1_->setFocus();
}

} // namespace zelkor::ui
