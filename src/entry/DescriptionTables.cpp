#include "entry/DescriptionTables.h"

#include "util/SjisText.h"

#include <QRegularExpression>

namespace entry {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QChar kTab = QLatin1Char('\t');

bool isUsed(const QString& text)
{
    return !text.isEmpty() && text != QLatin1String(" ");
}

// The used extent within the 20 × 20 cells (the grid never holds more).
report::GridExtent usedExtent(const report::DescriptionGrid& grid)
{
    report::GridExtent extent;
    for (int r = 1; r <= kTableCells; ++r) {
        for (int c = 1; c <= kTableCells; ++c) {
            if (isUsed(grid.cell(c, r))) {
                extent.lastColumn = std::max(extent.lastColumn, c);
                extent.lastRow = std::max(extent.lastRow, r);
            }
        }
    }
    return extent;
}

QStringList rowLines(const report::DescriptionGrid& grid, const report::GridExtent& extent)
{
    QStringList lines;
    for (int r = 1; r <= extent.lastRow; ++r) {
        QStringList cells;
        for (int c = 1; c <= extent.lastColumn; ++c)
            cells << storableTableText(grid.cell(c, r));
        lines << cells.join(kTab);
    }
    return lines;
}

QString headerLine(const report::GridExtent& extent, const QString& headingColumns, const QString& headingRows)
{
    return QStringList{QString::number(extent.lastColumn), QString::number(extent.lastRow), headingColumns, headingRows}.join(kTab);
}

} // namespace

QString storableTableText(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("\r\n|[\t\r\n]"));
    QString result = text;
    return result.replace(separators, QStringLiteral(" "));
}

QString clampedHeadingCount(const QString& text)
{
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    if (!ok || count <= 0)
        return QStringLiteral("0");
    return QString::number(std::min(count, 3));
}

QString SaveGridText(const report::DescriptionGrid& grid)
{
    const report::GridExtent extent = usedExtent(grid);
    if (extent.lastColumn == 0 || extent.lastRow == 0)
        return QStringLiteral("0\t0\t0\t0") + kLineEnd;
    QStringList lines{headerLine(extent, clampedHeadingCount(grid.headerColumns), clampedHeadingCount(grid.headerRows))};
    lines << rowLines(grid, extent);
    const QString title = storableTableText(grid.title);
    if (!title.isEmpty())
        lines << title;
    return lines.join(kLineEnd) + kLineEnd;
}

QString measuredTableText(const report::DescriptionGrid& grid)
{
    const report::GridExtent extent = usedExtent(grid);
    if (extent.lastColumn == 0 || extent.lastRow == 0)
        return {};
    QStringList lines{headerLine(extent, QStringLiteral("0"), QStringLiteral("0"))};
    lines << rowLines(grid, extent) << storableTableText(grid.title);
    return lines.join(kLineEnd);
}

int tableTextBytes(const report::DescriptionGrid& grid)
{
    return int(sjis::byteLength(measuredTableText(grid)));
}

bool TableTextTooLong(const report::DescriptionGrid& grid)
{
    return tableTextBytes(grid) > kTableTextLimit;
}

LoadedTable LoadGridText(const QString& stored)
{
    LoadedTable result;
    QString text = stored;
    text.replace(kLineEnd, QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast(); // the final line end closes the last line
    if (lines.isEmpty())
        return result;

    const QStringList head = lines.first().split(kTab);
    bool columnsRead = false;
    bool rowsRead = false;
    const int columns = head.value(0).toInt(&columnsRead);
    const int rows = head.value(1).toInt(&rowsRead);
    QStringList rowTexts = lines.mid(1);
    if (!columnsRead || !rowsRead) {
        // No header at all: every line, the first included, is shown as a row.
        rowTexts = lines;
        result.problems << QStringLiteral("表の大きさを読み取れないため、すべての行を表の行として表示しました。");
    } else if (columns <= 0 || rows <= 0) {
        if (rowTexts.isEmpty())
            return result; // the empty table
        // Nothing says where the rows end: every line is shown as a row, none taken as the title.
        result.problems << QStringLiteral("表の大きさが0とされていますが、続く行があるため、それらを表の行として表示しました。");
    } else {
        result.grid.headerColumns = clampedHeadingCount(head.value(2));
        result.grid.headerRows = clampedHeadingCount(head.value(3));
        // A line after the rows is the title; lines between the stated rows and the title are
        // shown as rows too rather than passed over.
        if (lines.size() > rows + 1) {
            result.grid.title = lines.last();
            rowTexts.removeLast();
        }
    }

    int lostCells = 0;
    for (int r = 1; r <= rowTexts.size(); ++r) {
        const QStringList cells = rowTexts.at(r - 1).split(kTab);
        for (int c = 1; c <= cells.size(); ++c) {
            if (r <= kTableCells && c <= kTableCells)
                result.grid.setCell(c, r, cells.at(c - 1));
            else if (isUsed(cells.at(c - 1)))
                ++lostCells;
        }
    }
    if (lostCells > 0)
        result.problems << QStringLiteral("20列・20行を超える位置にある%1個のセルは表示できません。保存するとこれらのセルは失われます。")
                               .arg(lostCells);
    return result;
}

} // namespace entry
