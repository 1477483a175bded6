#pragma once

#include "store/FieldDef.h"

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

// Reads a whole file. On any fault — missing, truncated, not XML, an unknown field type, a value
// that does not fit its field — returns false with a message naming the file and the place, and
// leaves the outputs empty.
bool read(const QString& path, QList<FieldDef>* fields, QList<QVector<QVariant>>* rows, QString* error);
// Reads the bytes of a file; `shownPath` names it in an error.
bool parse(QByteArray document, const QString& shownPath, QList<FieldDef>* fields, QList<QVector<QVariant>>* rows, QString* error);

// Writes the file form to a device; false with the device's reason when a write fails.
bool write(QIODevice* device, const QList<FieldDef>& fields, const std::vector<const QVector<QVariant>*>& rows,
           QString* error);

// Writes atomically: a failure at any moment leaves the previous file in place. Looked-up
// fields are not written.
bool write(const QString& path, const QList<FieldDef>& fields, const std::vector<const QVector<QVariant>*>& rows,
           QString* error);

// Writes a file holding the fields and no rows (templates, new tables).
bool writeEmpty(const QString& path, const QList<FieldDef>& fields, QString* error);

} // namespace TableFile

} // namespace store
