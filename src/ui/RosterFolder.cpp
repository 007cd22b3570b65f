#include "ui/RosterFolder.h"

#include "core/DisplayText.h"

#include <QFile>
#include <QMessageBox>

namespace zelkor::ui {

RosterFolderChoice rosterFolder(const QStringList& arguments) {
    std::filesystem::path given;
    // File names go back to the bytes the system gave, whatever their encoding.
    if (arguments.size() > 1 && !arguments.at(1).isEmpty()) {
        given = QFile::encodeName(arguments.at(1)).toStdString();
    }
    return chooseRosterFolder(rosterSourcesOfProcess(given));
}

void showRosterNotice(const RosterFolderChoice& choice, QWidget* window) {
    if (!choice.notice.empty()) {
        QMessageBox::information(window, QStringLiteral("ZELKOR"),
                                 QString::fromStdString(visibleText(choice.notice)));
    }
}

} // namespace zelkor::ui
