#include "widgets/GridEditing.h"

#include "util/UserInteraction.h"
#include "widgets/EventHook.h"
#include "widgets/SjisInput.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTableWidget>

namespace widgets {

namespace {

bool isEditable(const QTableWidgetItem* item)
{
    return item && item->flags().testFlag(Qt::ItemIsEditable);
}

void clearSelectedCells(QTableWidget* grid)
{
    for (QTableWidgetItem* item : grid->selectedItems()) {
        if (isEditable(item) && !item->text().isEmpty())
            item->setText(QString());
    }
}

void pasteBlock(QTableWidget* grid, const QString& text)
{
    const QModelIndex start = grid->currentIndex();
    if (!start.isValid() || text.isEmpty() || refuseUnencodable(text))
        return;
    int leftOut = 0; // cells with text that found no cell of the grid
    bool joined = false;
    const QList<QStringList> block = readCellBlock(text);
    for (int r = 0; r < block.size(); ++r) {
        for (int c = 0; c < block.at(r).size(); ++c) {
            bool cellJoined = false;
            const QString value = joinedToOneLine(block.at(r).at(c), &cellJoined);
            QTableWidgetItem* item = grid->item(start.row() + r, start.column() + c);
            if (!isEditable(item)) {
                leftOut += value.isEmpty() ? 0 : 1;
                continue;
            }
            joined = joined || cellJoined;
            item->setText(value);
        }
    }
    QStringList told;
    if (leftOut > 0)
        told << QStringLiteral("表に収まらない %1 個のセルは貼り付けていません。").arg(leftOut);
    if (joined)
        told << kLinesJoinedMessage;
    if (!told.isEmpty())
        UserInteraction::current().warn(QStringLiteral("注意"), told.join(QStringLiteral("\r\n")));
}

} // namespace

QList<QStringList> readCellBlock(const QString& text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool cellStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != QLatin1Char('"'))
                cell.append(c);
            else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))
                cell.append(text.at(++i));
            else
                quoted = false;
            continue;
        }
        if (c == QLatin1Char('"') && cellStart) {
            quoted = true;
            cellStart = false;
            continue;
        }
        cellStart = false;
        if (c == QLatin1Char('\t')) {
            row << cell;
            cell.clear();
            cellStart = true;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            row << cell;
            rows << row;
            row.clear();
            cell.clear();
            cellStart = true;
        } else {
            cell.append(c);
        }
    }
    if (!row.isEmpty() || !cell.isEmpty() || !cellStart)
        rows << (row << cell);
    return rows;
}

void attachGridEditing(QTableWidget* grid)
{
    // An open cell editor takes its own keys; these reach the grid only between edits.
    onEvent(grid, QEvent::KeyPress, [grid](QEvent* e) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->matches(QKeySequence::Paste)) {
            pasteBlock(grid, QApplication::clipboard()->text());
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            clearSelectedCells(grid);
            return true;
        }
        return false;
    });
}

} // namespace widgets
