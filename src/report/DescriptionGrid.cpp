#include "report/DescriptionGrid.h"

#include "report/HtmlText.h"

#include <QStringList>

namespace report {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

bool inGrid(int column, int row)
{
    return column >= 1 && column <= DescriptionGrid::kSize && row >= 1 && row <= DescriptionGrid::kSize;
}

int index(int column, int row)
{
    return row * (DescriptionGrid::kSize + 1) + column;
}

// A heading count as the boxes hold it; a text that is no number counts as no headings.
int headingCount(const QString& text)
{
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    return ok ? count : 0;
}

bool isUsed(const QString& text)
{
    return !text.isEmpty() && text != QLatin1String(" ");
}

} // namespace

QString DescriptionGrid::cell(int column, int row) const
{
    return inGrid(column, row) ? cells.at(index(column, row)) : QString();
}

void DescriptionGrid::setCell(int column, int row, const QString& text)
{
    if (inGrid(column, row))
        cells[index(column, row)] = text;
}

DescriptionGrid DescriptionGrid::fromStoredText(const QString& stored)
{
    DescriptionGrid grid;
    QString text = stored;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the final line end closes the last line
    if (lines.isEmpty())
        return grid;
    const QStringList head = lines.first().split(QLatin1Char('\t'));
    const int columns = head.value(0).toInt();
    const int rows = head.value(1).toInt();
    if (columns <= 0 || rows <= 0)
        return grid;
    grid.headerColumns = head.value(2, QStringLiteral("0"));
    grid.headerRows = head.value(3, QStringLiteral("0"));
    if (lines.size() > rows + 1)
        grid.title = lines.last();
    for (int r = 1; r <= rows && r < lines.size(); ++r) {
        const QStringList fields = lines.at(r).split(QLatin1Char('\t'));
        for (int c = 1; c <= fields.size(); ++c)
            grid.setCell(c, r, fields.at(c - 1));
    }
    return grid;
}

GridExtent GridUsedExtent(const DescriptionGrid& grid)
{
    GridExtent extent;
    for (int r = 1; r <= DescriptionGrid::kSize; ++r) {
        for (int c = 1; c <= DescriptionGrid::kSize; ++c) {
            if (!isUsed(grid.cell(c, r)))
                continue;
            extent.lastColumn = std::max(extent.lastColumn, c);
            extent.lastRow = std::max(extent.lastRow, r);
        }
    }
    return extent;
}

QString BuildGridTable(const DescriptionGrid& grid)
{
    const GridExtent extent = GridUsedExtent(grid);
    if (extent.lastColumn == 0 || extent.lastRow == 0)
        return {};
    const int headerColumns = headingCount(grid.headerColumns);
    const int headerRows = headingCount(grid.headerRows);
    QStringList lines{QStringLiteral("<CENTER>"), QStringLiteral("<CENTER>"),
                      QStringLiteral("<TABLE BORDER=1 CELLPADDING=4 CELLSPACING=0 WIDTH=90%>"),
                      QStringLiteral("<CAPTION>") + html::escape(grid.title) + QStringLiteral("</CAPTION>")};
    for (int r = 1; r <= extent.lastRow; ++r) {
        lines << QStringLiteral("<TR>");
        for (int c = 1; c <= extent.lastColumn; ++c) {
            const bool heading = c <= headerColumns || r <= headerRows;
            lines << (heading ? QStringLiteral("<TH BGCOLOR=#FFFFD0>") : QStringLiteral("<TH>"));
            lines << html::escape(grid.cell(c, r)) + QStringLiteral("&nbsp;");
            lines << QStringLiteral("</TH>");
        }
        lines << QStringLiteral("</TR>");
    }
    lines << QStringLiteral("</TABLE>") << QStringLiteral("</CENTER>") << QStringLiteral("</CENTER>");
    return lines.join(kLineEnd);
}

} // namespace report
