#pragma once

#include "teamdata/RosterFolderSearch.h"

#include <QStringList>

class QWidget;

namespace zelkor::ui {

// Where the roster files are: the one command-line argument if given, else what
// chooseRosterFolder finds (ZELKOR_ROSTERS, the user's own folder, the installed samples,
// the working directory).
RosterFolderChoice rosterFolder(const QStringList& arguments);

// Shows the choice's notice, if it has one, in a message box over window.
void showRosterNotice(const RosterFolderChoice& choice, QWidget* window);

} // namespace zelkor::ui
