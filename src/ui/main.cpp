#include "ui/MainWindow.h"
#include "ui/RosterFolder.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(ZELKOR_VERSION));
    // Lets the desktop match the windows to the menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("app.zelkor.Zelkor"));
    const zelkor::RosterFolderChoice rosters = zelkor::ui::rosterFolder(app.arguments());
    zelkor::ui::MainWindow window(rosters.folder);
    window.show();
    zelkor::ui::showRosterNotice(rosters, &window);
    return app.exec();
}
