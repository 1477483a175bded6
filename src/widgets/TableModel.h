#pragma once

#include "store/DataSource.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

namespace widgets {

// One column of a grid: the field it shows, its title and its width in pixels (0: the view's).
struct GridColumn
{
    QString field;
    QString title;
    int width = 0;
};

// The rows a table shows (filter, order and master applied) as a read-only item model with chosen
// columns. It follows the table: rows added, posted, deleted or cancelled and values set by code. A
// row being inserted is shown as an extra last row; the row being edited shows its pending values.
class TableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    TableModel(store::DataSource* source, const QList<GridColumn>& columns, QObject* parent = nullptr);

    store::Table* table() const;
    const QList<GridColumn>& columns() const { return m_columns; }
    // The model row of the table's current row, -1 when there is none.
    int currentRow() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    void currentRowChanged(int row);

private:
    void refresh();
    void onStateChanged();
    void onFieldChanged(int index);
    QStringList rowTexts(store::Table& table) const;
    bool columnIsNumeric(int column) const;

    QPointer<store::DataSource> m_source;
    QList<GridColumn> m_columns;
    QList<QStringList> m_rows;   // texts of the stored rows, as last read
    bool m_showsInsertRow = false;
    int m_lastCurrentRow = -1;
};

} // namespace widgets
