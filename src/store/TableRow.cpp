#include "store/TableRow.h"

namespace store {

RowLayoutDecoder::RowLayoutDecoder(const QList<FieldDef>& fileFields, QVector<int> source)
    : m_file(fileFields)
    , m_source(std::move(source))
    , m_fileOrder(m_source.size() == fileFields.size())
{
    for (int f = 0; m_fileOrder && f < m_source.size(); ++f)
        m_fileOrder = m_source.at(f) == f;
}

QVector<QVariant> RowLayoutDecoder::values(const TableFile::RowForm& form) const
{
    QVector<QVariant> read = m_file.values(form);
    if (m_fileOrder)
        return read;
    QVector<QVariant> values(m_source.size());
    for (int f = 0; f < m_source.size(); ++f) {
        const int from = m_source.at(f);
        if (from >= 0 && from < read.size())
            values[f] = std::move(read[from]);
    }
    return values;
}

QVariant RowLayoutDecoder::value(const TableFile::RowForm& form, int field) const
{
    if (field < 0 || field >= m_source.size() || m_source.at(field) < 0)
        return {};
    return m_file.value(form, m_source.at(field));
}

} // namespace store
