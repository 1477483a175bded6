#pragma once

#include <QString>
#include <QVector>

// A description table as the report sees it: the cells of columns and rows 1 … 21 (column 0 and
// row 0 are the grid's own headings and never printed), the two heading counts and the title.
namespace report {

struct DescriptionGrid
{
    static constexpr int kSize = 21;

    QVector<QString> cells = QVector<QString>((kSize + 1) * (kSize + 1));
    QString headerColumns = QStringLiteral("0"); // text of the heading-columns box
    QString headerRows = QStringLiteral("0");    // text of the heading-rows box
    QString title;

    // Cells outside 1 … 21 read as empty and are not stored.
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);

    // The grid rebuilt from the stored text of the table (header line "C\tR\tcols\trows", one
    // tab-separated line per row, then the title line when there is one).
    static DescriptionGrid fromStoredText(const QString& stored);
};

struct GridExtent
{
    int lastColumn = 0;
    int lastRow = 0;
};

// The greatest column and the greatest row holding a cell that is neither empty nor one blank.
GridExtent GridUsedExtent(const DescriptionGrid& grid);

// The table printed for the grid: a centred, bordered table captioned with the title, heading cells
// on a pale yellow background; empty when the grid holds nothing. Cell texts are escaped.
QString BuildGridTable(const DescriptionGrid& grid);

} // namespace report
