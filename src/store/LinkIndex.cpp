#include "store/LinkIndex.h"

#include "store/FieldDef.h"

#include <algorithm>

namespace store {

LinkIndex::LinkIndex(const QList<int>& fields, const std::vector<TableRowPtr>& rows)
    : m_fields(fields)
{
    // The rows come in natural order, so appending keeps every group in that order. Rows of one
    // key mostly follow each other (a registration's rows are written together): such a row joins
    // the group of the row before it without a search.
    std::vector<TableRowPtr>* last = nullptr;
    const QVector<QVariant>* lastKey = nullptr;
    for (const TableRowPtr& row : rows) {
        if (last && hasKey(*row, *lastKey)) {
            last->push_back(row);
            continue;
        }
        const auto group = m_groups.try_emplace(keyOf(*row)).first;
        group->second.push_back(row);
        last = &group->second;
        lastKey = &group->first;
    }
}

bool LinkIndex::hasKey(const TableRow& row, const QVector<QVariant>& key) const
{
    for (int k = 0; k < m_fields.size(); ++k) {
        if (compareValues(row.value(m_fields.at(k)), key.at(k)) != 0)
            return false;
    }
    return true;
}

bool LinkIndex::KeyLess::operator()(const QVector<QVariant>& a, const QVector<QVariant>& b) const
{
    for (int k = 0; k < a.size() && k < b.size(); ++k) {
        const int c = compareValues(a.at(k), b.at(k));
        if (c != 0)
            return c < 0;
    }
    return a.size() < b.size();
}

QVector<QVariant> LinkIndex::keyOf(const TableRow& row) const
{
    QVector<QVariant> key;
    key.reserve(m_fields.size());
    for (int f : m_fields)
        key.append(row.value(f));
    return key;
}

QVector<QVariant> LinkIndex::keyOf(const QVector<QVariant>& values) const
{
    QVector<QVariant> key;
    key.reserve(m_fields.size());
    for (int f : m_fields)
        key.append(f < values.size() ? values.at(f) : QVariant());
    return key;
}

const std::vector<TableRowPtr>* LinkIndex::find(const QVector<QVariant>& key) const
{
    const auto found = m_groups.find(key);
    return found == m_groups.end() ? nullptr : &found->second;
}

void LinkIndex::add(const TableRowPtr& row)
{
    std::vector<TableRowPtr>& group = m_groups[keyOf(*row)];
    const auto at = std::upper_bound(group.begin(), group.end(), row->seq,
                                     [](quint64 seq, const TableRowPtr& other) { return seq < other->seq; });
    group.insert(at, row);
}

void LinkIndex::removeFrom(const QVector<QVariant>& key, const TableRowPtr& row)
{
    const auto found = m_groups.find(key);
    if (found == m_groups.end())
        return;
    std::vector<TableRowPtr>& group = found->second;
    group.erase(std::remove(group.begin(), group.end(), row), group.end());
    if (group.empty())
        m_groups.erase(found);
}

void LinkIndex::remove(const TableRowPtr& row)
{
    removeFrom(keyOf(*row), row);
}

void LinkIndex::update(const TableRowPtr& row, const QVector<QVariant>& oldValues)
{
    const QVector<QVariant> oldKey = keyOf(oldValues);
    const QVector<QVariant> newKey = keyOf(*row);
    if (!KeyLess()(oldKey, newKey) && !KeyLess()(newKey, oldKey))
        return;
    removeFrom(oldKey, row);
    add(row);
}

} // namespace store
