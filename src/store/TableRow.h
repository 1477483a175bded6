#pragma once

#include "store/TableFile.h"

#include <QList>
#include <QVariant>
#include <QVector>

#include <memory>

namespace store {

// Decodes rows kept in their file form into a table's own layout: each field of the layout reads
// the file's field it was bound to by name, or stays null (a looked-up field, which no file holds).
class RowLayoutDecoder
{
public:
    // `source` gives, for each field of the layout, the position of its field in the file or -1.
    RowLayoutDecoder(const QList<FieldDef>& fileFields, QVector<int> source);

    QVector<QVariant> values(const TableFile::RowForm& form) const;
    QVariant value(const TableFile::RowForm& form, int field) const;

private:
    TableFile::RowDecoder m_file;
    QVector<int> m_source;
    bool m_fileOrder; // every field of the layout is the file's field at its own position
};

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
    TableRow(TableFile::RowForm form, std::shared_ptr<const RowLayoutDecoder> decoder)
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
    mutable std::shared_ptr<const RowLayoutDecoder> m_decoder; // set while not yet decoded
};
using TableRowPtr = std::shared_ptr<TableRow>;

} // namespace store
