#pragma once

#include "store/FieldDef.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>

#include <vector>

namespace store {

// The file form of a table: an XML data packet in UTF-8 that lists the fields (name, type, width)
// and then one ROW element per row, a null value being an absent attribute. Fixed-width text is
// padded with blanks to its width, dates are written yyyymmdd, numbers in the general form.
namespace TableFile {

// A row's file form (its ROW element) as read from or written to a file: a piece of a document
// that the rows of one file share. Written again, it reads back as the same values, so a row whose
// values have not changed since is written by copying it.
struct RowForm
{
    QByteArray document;
    qsizetype from = 0;
    qsizetype size = 0;

    bool isEmpty() const { return size == 0; }
    QByteArrayView bytes() const { return QByteArrayView(document).sliced(from, size); }
};

// Which rows' values a read gives: all, or only those of rows without a kept file form (the
// others are checked as strictly, then left empty for a RowDecoder to decode when they are needed).
enum class Values { All, OfRowsWithoutForm };

// Reads a whole file. On any fault — missing, truncated, not XML, an unknown field type, a value
// that does not fit its field — returns false with a message naming the file and the place, and
// leaves the outputs empty.
// With `forms`, also the file form of each row (empty for a row not written as one empty element).
bool read(const QString& path, QList<FieldDef>* fields, QList<QVector<QVariant>>* rows, QString* error,
          QList<RowForm>* forms = nullptr, Values values = Values::All);
// Reads the bytes of a file; `shownPath` names it in an error.
bool parse(QByteArray document, const QString& shownPath, QList<FieldDef>* fields, QList<QVector<QVariant>>* rows, QString* error,
           QList<RowForm>* forms = nullptr, Values values = Values::All);

// Decodes the values of rows kept in the file form a read checked (with the fields it read).
class RowDecoder
{
public:
    explicit RowDecoder(const QList<FieldDef>& fields);

    const QList<FieldDef>& fields() const { return m_fields; }
    // Every value of the row, one a field.
    QVector<QVariant> values(const RowForm& form) const;
    // One value, without decoding the others.
    QVariant value(const RowForm& form, int field) const;

private:
    QList<FieldDef> m_fields;
    QVector<QByteArray> m_names; // UTF-8, as the rows' attributes name them
};

// Writes the file form to a device; false with the device's reason when a write fails.
// `forms`, when given, runs beside `rows`: a row whose form is not empty is written as that form
// (which must have been read or written with these fields and the row's present values); an
// empty one is filled with the form written.
bool write(QIODevice* device, const QList<FieldDef>& fields, const std::vector<const QVector<QVariant>*>& rows,
           QString* error, const std::vector<RowForm*>* forms = nullptr);

// Writes atomically: a failure at any moment leaves the previous file in place. Looked-up
// fields are not written.
bool write(const QString& path, const QList<FieldDef>& fields, const std::vector<const QVector<QVariant>*>& rows,
           QString* error, const std::vector<RowForm*>* forms = nullptr);

// Writes a file holding the fields and no rows (templates, new tables).
bool writeEmpty(const QString& path, const QList<FieldDef>& fields, QString* error);

} // namespace TableFile

} // namespace store
