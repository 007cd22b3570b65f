#include "ui/MainWindow.h"
#include "ui/RosterFolder.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(ZELKOR_VERSION));
    // The settings (the season in use) go to ~/.config/zelkor/zelkor.conf.
    QApplication::setOrganizationName(QStringLiteral("zelkor"));
    QApplication::setApplicationName(QStringLiteral("zelkor"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("app.zelkor.Zelkor"));
    const zelkor::RosterFolderChoice rosters = zelkor::ui::rosterFolder(app.arguments());
    zelkor::ui::MainWindow window(rosters.folder);
    window.show();
    zelkor::ui::showRosterNotice(rosters, &window);
    // A roster folder named on the command line is this run's season; the one remembered
    // waits for the next run.
    if (app.arguments().size() < 2) {
        window.restoreSeason();
    }
    return app.exec();
}
