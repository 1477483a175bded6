#pragma once

#include "widgets/TableModel.h"

#include <QTableView>

namespace widgets {

// A read-only grid over the rows a table shows, one line per row, with chosen columns. The table's
// current row is the grid's selected line; choosing another line writes the pending changes of the
// table's bound controls and moves the table there. doubleClicked is inherited from the view.
class DBGrid : public QTableView
{
    Q_OBJECT

public:
    DBGrid(store::DataSource* source, const QList<GridColumn>& columns, QWidget* parent = nullptr, const QString& name = {});

    TableModel* tableModel() const { return m_model; }

private:
    void showCurrentRow(int row);
    void applyColumnWidths();

    TableModel* m_model;
    bool m_followingTable = false;
};

} // namespace widgets
