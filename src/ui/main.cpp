#include "ui/MainWindow.h"
#include "ui/RosterFolder.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    zelkor::ui::MainWindow window(zelkor::ui::rosterFolder(app.arguments()));
    window.show();
    return app.exec();
}
