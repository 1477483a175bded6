#pragma once

#include <QList>
#include <QStringList>

class QTableWidget;

namespace widgets {

// The cells of a block copied from a spreadsheet: lines of tab-separated cells, a line break at
// the end belonging to the last line. A cell in double quotes may hold tabs, line breaks and
// doubled quotes, as spreadsheets write a cell that holds them.
QList<QStringList> readCellBlock(const QString& text);

// The keys of a grid whose cells the user types in, while no cell editor is open: Delete empties
// the selected cells, and Ctrl+V pastes a block copied from a spreadsheet from the current cell
// rightwards and downwards as far as the grid reaches. Each cell is judged as a cell's typing and
// pasting are (Shift_JIS only, one line); the user is told of cells that fell outside the grid and
// of lines joined within a cell. Cells that are not editable are left as they are.
void attachGridEditing(QTableWidget* grid);

} // namespace widgets
