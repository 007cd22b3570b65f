#pragma once

#include <QChar>
#include <QString>

class QTableWidget;

namespace zelkor::ui {

// A table of figures as text: its header, then its shown rows, the cells apart by
// separator, each line ended by a line feed. A cell holding a text box gives its text.
// With a comma the cells are quoted as CSV needs; with a tab, tabs and line ends in a
// cell become blanks.
QString tableText(const QTableWidget& table, QChar separator);

// Gives the table a context menu and Ctrl+C (while it has the focus) that copy it whole
// as tab-separated text, which spreadsheets paste as cells.
void offerTableCopy(QTableWidget* table);

} // namespace zelkor::ui
