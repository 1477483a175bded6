#pragma once

#include "store/TableFile.h"

#include <QList>
#include <QVariant>
#include <QVector>

#include <map>
#include <memory>
#include <vector>

namespace store {

// One stored row of a table. `seq` grows with the row's place in the table's natural order, so
// rows found through an index can be put back in that order without a scan.
struct TableRow
{
    QVector<QVariant> values;
    quint64 seq = 0;
    // The row as its file holds it, while its values are those it was read or written with.
    TableFile::RowForm form;
};
using TableRowPtr = std::shared_ptr<TableRow>;

// The rows of a table grouped by the values of some of its fields (the link fields of detail
// views), each group in natural order: a master–detail view finds its rows in O(log n + rows
// shown) instead of testing every row. Keys compare as compareValues does, so an index only
// serves lookups whose values are of the same kind as the stored ones (text, number or date).
class LinkIndex
{
public:
    LinkIndex(const QList<int>& fields, const std::vector<TableRowPtr>& rows);

    const QList<int>& fields() const { return m_fields; }
    // The rows whose link fields equal `key` (one value a field), in natural order; null when none.
    const std::vector<TableRowPtr>* find(const QVector<QVariant>& key) const;

    void add(const TableRowPtr& row);
    void remove(const TableRowPtr& row);
    // The row's values changed from `oldValues`: moves it to its new group when its key changed.
    void update(const TableRowPtr& row, const QVector<QVariant>& oldValues);
    void clear() { m_groups.clear(); }

private:
    struct KeyLess
    {
        bool operator()(const QVector<QVariant>& a, const QVector<QVariant>& b) const;
    };
    QVector<QVariant> keyOf(const QVector<QVariant>& values) const;
    // Whether the link fields of `values` equal `key`, as the groups compare keys.
    bool hasKey(const QVector<QVariant>& values, const QVector<QVariant>& key) const;
    void removeFrom(const QVector<QVariant>& key, const TableRowPtr& row);

    QList<int> m_fields;
    std::map<QVector<QVariant>, std::vector<TableRowPtr>, KeyLess> m_groups;
};

} // namespace store
