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
// A row read from a file may be kept in its file form only: its values are decoded when first
// asked for, and a single value can be read without decoding the others.
class TableRow
{
public:
    explicit TableRow(QVector<QVariant> values, TableFile::RowForm form = {})
        : form(std::move(form)), m_values(std::move(values))
    {
    }
    // A row kept in its file form (not empty), which `decoder` decodes.
    TableRow(TableFile::RowForm form, std::shared_ptr<const TableFile::RowDecoder> decoder)
        : form(std::move(form)), m_decoder(std::move(decoder))
    {
    }

    // The values, one a field (fewer when the row was stored with fewer).
    const QVector<QVariant>& values() const
    {
        if (m_decoder) {
            m_values = m_decoder->values(form);
            m_decoder.reset();
        }
        return m_values;
    }
    QVariant value(int field) const
    {
        if (m_decoder)
            return m_decoder->value(form, field);
        return field >= 0 && field < m_values.size() ? m_values.at(field) : QVariant();
    }
    // Calls `visit` with the values, decoding a row still in its file form without keeping them.
    template <typename Visit>
    void visitValues(Visit visit) const
    {
        if (m_decoder) {
            const QVector<QVariant> values = m_decoder->values(form);
            visit(values);
        } else
            visit(std::as_const(m_values));
    }
    bool isDecoded() const { return !m_decoder; }
    // New values: the file form no longer holds them.
    void setValues(const QVector<QVariant>& values)
    {
        m_values = values;
        m_decoder.reset();
        form = {};
    }

    quint64 seq = 0;
    // The row as its file holds it, while its values are those it was read or written with.
    TableFile::RowForm form;

private:
    mutable QVector<QVariant> m_values;
    mutable std::shared_ptr<const TableFile::RowDecoder> m_decoder; // set while not yet decoded
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
    QVector<QVariant> keyOf(const TableRow& row) const;
    // Whether the link fields of the row equal `key`, as the groups compare keys.
    bool hasKey(const TableRow& row, const QVector<QVariant>& key) const;
    void removeFrom(const QVector<QVariant>& key, const TableRowPtr& row);

    QList<int> m_fields;
    std::map<QVector<QVariant>, std::vector<TableRowPtr>, KeyLess> m_groups;
};

} // namespace store
