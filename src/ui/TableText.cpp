#include "ui/TableText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QStringList>
#include <QTableWidget>

namespace zelkor::ui {

namespace {

QString field(QString text, QChar separator) {
    if (separator == QLatin1Char(',')) {
        if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
            text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
            text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
            return QLatin1Char('"') + text + QLatin1Char('"');
        }
        return text;
    }
    for (const QChar breaking : {separator, QChar(QLatin1Char('\n')), QChar(QLatin1Char('\r'))}) {
        text.replace(breaking, QLatin1Char(' '));
    }
    return text;
}

QString cellText(const QTableWidget& table, int row, int column) {
    if (const auto* box = qobject_cast<const QLineEdit*>(table.cellWidget(row, column))) {
        return box->text();
    }
    const QTableWidgetItem* item = table.item(row, column);
    return item != nullptr ? item->text() : QString();
}

} // namespace

QString tableText(const QTableWidget& table, QChar separator) {
    QString text;
    const auto line = [&](const QStringList& cells) {
        QStringList fields;
        for (const QString& cell : cells) {
            fields << field(cell, separator);
        }
        text += fields.join(separator) + QLatin1Char('\n');
    };
    if (!table.horizontalHeader()->isHidden()) {
        QStringList headers;
        for (int column = 0; column < table.columnCount(); ++column) {
            const QTableWidgetItem* header = table.horizontalHeaderItem(column);
            headers << (header != nullptr ? header->text() : QString());
        }
        line(headers);
    }
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.isRowHidden(row)) {
            continue;
        }
        QStringList cells;
        for (int column = 0; column < table.columnCount(); ++column) {
            cells << cellText(table, row, column);
        }
        line(cells);
    }
    return text;
}

void offerTableCopy(QTableWidget* table) {
    auto* copy = new QAction(QObject::tr("&Copy table"), table);
    copy->setObjectName(table->objectName() + QStringLiteral("Copy"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(copy, &QAction::triggered, table, [table] {
        QApplication::clipboard()->setText(tableText(*table, QLatin1Char('\t')));
    });
    table->addAction(copy);
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
    // A click gives it the focus, so that Ctrl+C copies the table clicked last.
    table->setFocusPolicy(Qt::ClickFocus);
}

} // namespace zelkor::ui
