#pragma once

#include <QStringList>

#include <filesystem>

namespace zelkor::ui {

// Where the roster files are: the one command-line argument if given, else the folder
// named by the environment variable ZELKOR_ROSTERS, else the working directory.
std::filesystem::path rosterFolder(const QStringList& arguments);

} // namespace zelkor::ui
