#pragma once

#include "store/TableRow.h"

#include <QList>
#include <QVariant>
#include <QVector>

#include <map>
#include <memory>
#include <vector>

namespace store {

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
    QVector<QVariant> keyOf(const TableRow& row) const;
    // Whether the link fields of the row equal `key`, as the groups compare keys.
    bool hasKey(const TableRow& row, const QVector<QVariant>& key) const;
    void removeFrom(const QVector<QVariant>& key, const TableRowPtr& row);

    QList<int> m_fields;
    std::map<QVector<QVariant>, std::vector<TableRowPtr>, KeyLess> m_groups;
};

} // namespace store
