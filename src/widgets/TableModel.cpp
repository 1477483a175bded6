#include "widgets/TableModel.h"

#include "widgets/VisibleRows.h"

namespace widgets {

TableModel::TableModel(store::DataSource* source, const QList<GridColumn>& columns, QObject* parent)
    : QAbstractTableModel(parent)
    , m_source(source)
    , m_columns(columns)
{
    if (source) {
        connect(source, &store::DataSource::dataChanged, this, &TableModel::refresh);
        connect(source, &store::DataSource::stateChanged, this, &TableModel::onStateChanged);
        connect(source, &store::DataSource::fieldChanged, this, &TableModel::onFieldChanged);
    }
    refresh();
}

store::Table* TableModel::table() const
{
    return m_source ? m_source->table() : nullptr;
}

int TableModel::currentRow() const
{
    store::Table* t = table();
    if (!t || !t->isActive())
        return -1;
    if (t->state() == store::Table::State::Insert)
        return m_showsInsertRow ? int(m_rows.size()) : -1;
    return t->recNo() - 1;
}

QStringList TableModel::rowTexts(store::Table& table) const
{
    QStringList texts;
    for (const GridColumn& column : m_columns) {
        const store::Field field = table.findField(column.field);
        texts.append(field.isValid() ? field.asString() : QString());
    }
    return texts;
}

void TableModel::refresh()
{
    store::Table* t = table();
    if (t && t->isEditing()) {
        // The stored rows cannot be read without posting; show the pending row over them.
        if (t->state() == store::Table::State::Insert && !m_showsInsertRow) {
            beginInsertRows({}, int(m_rows.size()), int(m_rows.size()));
            m_showsInsertRow = true;
            endInsertRows();
        } else {
            const int row = currentRow();
            if (row >= 0)
                emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        }
    } else {
        QList<QStringList> rows;
        walkVisibleRows(t, [&](store::Table& table) { rows.append(rowTexts(table)); });
        if (rows != m_rows || m_showsInsertRow) {
            beginResetModel();
            m_rows = rows;
            m_showsInsertRow = false;
            endResetModel();
        }
    }
    const int current = currentRow();
    if (current != m_lastCurrentRow) {
        m_lastCurrentRow = current;
        emit currentRowChanged(current);
    }
}

void TableModel::onStateChanged()
{
    // A table that stops editing (a post, a cancel, a removal) or opens or closes announces its
    // rows right after, and they are read then: reading them here too would walk every row twice.
    store::Table* t = table();
    if (t && t->isEditing())
        refresh();
}

void TableModel::onFieldChanged(int)
{
    const int row = currentRow();
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int TableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size()) + (m_showsInsertRow ? 1 : 0);
}

int TableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

bool TableModel::columnIsNumeric(int column) const
{
    store::Table* t = table();
    const int index = t ? t->fieldIndex(m_columns.at(column).field) : -1;
    return index >= 0 && t->fields().at(index).isNumeric();
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignVCenter) | (columnIsNumeric(index.column()) ? Qt::AlignRight : Qt::AlignLeft));
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    store::Table* t = table();
    if (t && t->isEditing() && index.row() == currentRow()) {
        const store::Field field = t->findField(m_columns.at(index.column()).field);
        return field.isValid() ? field.asString() : QString();
    }
    if (index.row() >= m_rows.size())
        return QString();
    return m_rows.at(index.row()).at(index.column());
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.size())
        return m_columns.at(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace widgets
