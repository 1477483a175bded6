#pragma once

#include "report/DescriptionGrid.h"

#include <QString>
#include <QStringList>

// The five description tables of a registration (summary, feature, construction method, unit cost,
// test): how the contents of a 20 × 20 grid with its heading counts and title are stored as one
// text, and read back.
//
// Stored text, lines ending in CR LF:
//   "C\tR\t<heading columns>\t<heading rows>"   C, R = the used extent (0 0 for an empty table)
//   one line per row 1 … R, the cells 1 … C joined by TAB
//   the title, only when it is not empty
// An empty table is the single line "0\t0\t0\t0".
namespace entry {

inline constexpr int kTableCells = 20;       // editable columns and rows of a grid
inline constexpr int kTableTextLimit = 2000; // bytes of the measured text (the save check)

// A cell or title text as the format can hold it: every TAB and every line break (CR LF, CR or LF)
// becomes one blank, so that it cannot split a row or shift the cells after it.
QString storableTableText(const QString& text);

// A heading count as its box holds it: empty or unreadable becomes "0", above 3 becomes "3".
QString clampedHeadingCount(const QString& text);

// The stored text of a grid (cells of columns and rows 1 … 20, heading-count texts, title).
QString SaveGridText(const report::DescriptionGrid& grid);

// The text whose Shift_JIS length the save check limits: the header with "0" heading counts, the
// used rows and the title line (present also when the title is empty); empty for an empty table.
QString measuredTableText(const report::DescriptionGrid& grid);
// The Shift_JIS bytes of the measured text, the count the limit kTableTextLimit applies to.
int tableTextBytes(const report::DescriptionGrid& grid);
bool TableTextTooLong(const report::DescriptionGrid& grid);

struct LoadedTable
{
    report::DescriptionGrid grid; // cells of columns and rows 1 … 20 only
    // What the stored text held that does not fit the grid as written, for the user; each line
    // says what was done with it. Empty for every text this program writes.
    QStringList problems;
};

// The grid rebuilt from a stored text. Malformed text never fails: without a readable header every
// line is shown as a row, a zero extent followed by lines shows those lines as rows, and cells beyond
// the 20 × 20 grid are counted in the problems instead of vanishing unnoticed.
LoadedTable LoadGridText(const QString& stored);

} // namespace entry
