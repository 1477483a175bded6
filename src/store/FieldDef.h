#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace store {

enum class FieldType {
    FixedText, // text of a fixed width, padded with blanks in the file, read back without them
    Text,      // text of at most `width` Shift_JIS bytes
    Memo,      // text of any length
    Float,     // 8-byte floating-point number
    Integer,   // whole number (32 bits)
    DateTime,  // a date, shown and entered as "yyyy/mm/dd"
    Lookup,    // computed from another table; never stored
};

// A looked-up field shows `resultField` of the row of `table` whose `tableKeyField` equals this
// row's `keyField`.
struct LookupDef
{
    QString keyField;
    QString table;
    QString tableKeyField;
    QString resultField;
};

struct FieldDef
{
    QString name;
    FieldType type = FieldType::Text;
    int width = 0; // Shift_JIS bytes for FixedText and Text (0: unlimited); 0 otherwise
    LookupDef lookup;

    bool isText() const { return type == FieldType::FixedText || type == FieldType::Text || type == FieldType::Memo; }
    bool isNumeric() const { return type == FieldType::Float || type == FieldType::Integer; }
    bool isStored() const { return type != FieldType::Lookup; }
};

// Shorthands that keep the table declarations readable.
inline FieldDef fixedText(const QString& name, int width) { return {name, FieldType::FixedText, width, {}}; }
inline FieldDef text(const QString& name, int width) { return {name, FieldType::Text, width, {}}; }
inline FieldDef memo(const QString& name) { return {name, FieldType::Memo, 0, {}}; }
inline FieldDef floatField(const QString& name) { return {name, FieldType::Float, 0, {}}; }
inline FieldDef integer(const QString& name) { return {name, FieldType::Integer, 0, {}}; }
inline FieldDef dateTime(const QString& name) { return {name, FieldType::DateTime, 0, {}}; }
inline FieldDef lookup(const QString& name, int width, LookupDef def) { return {name, FieldType::Lookup, width, std::move(def)}; }

// Converts a value given as text into the field's stored form: a number for numeric fields, a
// QDate for dates, the text cut to the field's width for text fields. An empty text gives null.
// False, with a message, when the text is not a value of the field's type.
bool convertText(const FieldDef& field, const QString& text, QVariant* value, QString* error);
// Why `text` is no value of a date or number field, naming the field as `shownName`:
// "'2024/02/30' は 記入年月日 の日付として正しくありません。".
QString refusalMessage(const FieldDef& field, const QString& text, const QString& shownName);

// Converts any value (text, number, date) into the field's stored form.
bool convertValue(const FieldDef& field, const QVariant& input, QVariant* value, QString* error);

// The value as text: numbers in the general form, dates as "yyyy/mm/dd", null as "".
QString valueText(const FieldDef& field, const QVariant& value);

// Orders two stored values of one field: null first, numbers by value, dates by date, text by
// character codes. Negative, zero or positive.
int compareValues(const QVariant& a, const QVariant& b);

} // namespace store
