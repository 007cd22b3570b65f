#include "ui/RosterFolder.h"

#include <QFile>
#include <QtGlobal>

namespace zelkor::ui {

std::filesystem::path rosterFolder(const QStringList& arguments) {
    // File names go back to the bytes the system gave, whatever their encoding.
    if (arguments.size() > 1 && !arguments.at(1).isEmpty()) {
        return QFile::encodeName(arguments.at(1)).toStdString();
    }
    const QByteArray fromEnvironment = qgetenv("ZELKOR_ROSTERS");
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment.toStdString();
    }
    return ".";
}

} // namespace zelkor::ui
