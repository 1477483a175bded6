#include "widgets/DBGrid.h"

#include "widgets/FieldLink.h"

#include <QHeaderView>

namespace widgets {

DBGrid::DBGrid(store::DataSource* source, const QList<GridColumn>& columns, QWidget* parent, const QString& name)
    : QTableView(parent)
    , m_model(new TableModel(source, columns, this))
{
    setObjectName(name.isEmpty() && source && source->table() ? source->table()->name() : name);
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    applyColumnWidths();

    connect(m_model, &TableModel::currentRowChanged, this, &DBGrid::showCurrentRow);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths();
        showCurrentRow(m_model->currentRow());
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        store::Table* table = m_model->table();
        if (m_followingTable || !table || !current.isValid() || current.row() == m_model->currentRow())
            return;
        if (!FieldLink::flush(table)) {
            showCurrentRow(m_model->currentRow());
            return;
        }
        table->setRecNo(current.row() + 1);
    });
    showCurrentRow(m_model->currentRow());
}

void DBGrid::applyColumnWidths()
{
    const QList<GridColumn>& columns = m_model->columns();
    for (int c = 0; c < columns.size(); ++c) {
        // A column is never narrower than its caption.
        if (columns.at(c).width > 0)
            setColumnWidth(c, std::max(columns.at(c).width, horizontalHeader()->sectionSizeHint(c)));
    }
}

void DBGrid::showCurrentRow(int row)
{
    m_followingTable = true;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex index = m_model->index(row, std::max(0, currentIndex().column()));
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    } else {
        selectionModel()->clearSelection();
    }
    m_followingTable = false;
}

} // namespace widgets
