#include "store/TableFile.h"

#include "util/NumberText.h"
#include "util/SjisText.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace store {
namespace TableFile {

namespace {

const QString kFixedChar = QStringLiteral("FixedChar");

QString typeName(FieldType type)
{
    switch (type) {
    case FieldType::FixedText:
    case FieldType::Text:
        return QStringLiteral("string");
    case FieldType::Memo:
        return QStringLiteral("bin.hex");
    case FieldType::Float:
        return QStringLiteral("r8");
    case FieldType::Integer:
        return QStringLiteral("i4");
    case FieldType::DateTime:
        return QStringLiteral("date");
    case FieldType::Lookup:
        break;
    }
    return {};
}

QString fileValue(const FieldDef& field, const QVariant& value)
{
    switch (field.type) {
    case FieldType::FixedText: {
        QString text = value.toString();
        const int padding = field.width - sjis::byteLength(text);
        if (padding > 0)
            text += QString(padding, QLatin1Char(' '));
        return text;
    }
    case FieldType::Float:
    case FieldType::Integer:
        return numbertext::format(value.toDouble());
    case FieldType::DateTime:
        return value.toDate().toString(QStringLiteral("yyyyMMdd"));
    default:
        return value.toString();
    }
}

// Converts an attribute of the file into the stored value; false when it does not fit.
bool parseValue(const FieldDef& field, QStringView text, QVariant* value)
{
    switch (field.type) {
    case FieldType::FixedText:
    case FieldType::Text: {
        QString stored = text.toString();
        if (field.type == FieldType::FixedText) {
            int end = stored.size();
            while (end > 0 && stored.at(end - 1) == QLatin1Char(' '))
                --end;
            stored.truncate(end);
        }
        if (field.width > 0 && stored.size() * 2 > field.width && sjis::byteLength(stored) > field.width)
            return false;
        *value = stored.isEmpty() ? QVariant() : QVariant(stored);
        return true;
    }
    case FieldType::Memo:
        *value = text.isEmpty() ? QVariant() : QVariant(text.toString());
        return true;
    case FieldType::Float:
    case FieldType::Integer: {
        double number = 0;
        if (!numbertext::parse(text.toString(), &number))
            return false;
        if (field.type == FieldType::Integer) {
            if (number != qint32(number))
                return false;
            *value = QVariant(qint32(number));
        } else {
            *value = QVariant(number);
        }
        return true;
    }
    case FieldType::DateTime: {
        if (text.size() != 8)
            return false;
        const QDate date = QDate::fromString(text.toString(), QStringLiteral("yyyyMMdd"));
        if (!date.isValid())
            return false;
        *value = QVariant(date);
        return true;
    }
    case FieldType::Lookup:
        break;
    }
    return false;
}

bool parseField(const QXmlStreamAttributes& attributes, FieldDef* field, QString* why)
{
    field->name = attributes.value(QLatin1String("attrname")).toString();
    if (field->name.isEmpty()) {
        *why = QStringLiteral("項目名がありません");
        return false;
    }
    const QStringView type = attributes.value(QLatin1String("fieldtype"));
    const QStringView subtype = attributes.value(QLatin1String("SUBTYPE"));
    field->width = 0;
    if (type == QLatin1String("string")) {
        field->type = subtype == kFixedChar ? FieldType::FixedText : FieldType::Text;
        bool ok = true;
        if (attributes.hasAttribute(QLatin1String("WIDTH")))
            field->width = attributes.value(QLatin1String("WIDTH")).toInt(&ok);
        if (!ok || field->width < 0) {
            *why = QStringLiteral("項目 %1 の幅が正しくありません").arg(field->name);
            return false;
        }
    } else if (type == QLatin1String("bin.hex")) {
        field->type = FieldType::Memo;
    } else if (type == QLatin1String("r8")) {
        field->type = FieldType::Float;
    } else if (type == QLatin1String("i4")) {
        field->type = FieldType::Integer;
    } else if (type == QLatin1String("date")) {
        field->type = FieldType::DateTime;
    } else {
        *why = QStringLiteral("項目 %1 の型 \"%2\" は扱えません").arg(field->name, type.toString());
        return false;
    }
    return true;
}

} // namespace

bool read(const QString& path, QList<FieldDef>* fields, QList<QVector<QVariant>>* rows, QString* error)
{
    fields->clear();
    rows->clear();
    const QString shownPath = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: ファイルを開けません (%2)").arg(shownPath, file.errorString());
        return false;
    }

    QXmlStreamReader xml(&file);
    QList<FieldDef> readFields;
    QList<QVector<QVariant>> readRows;
    bool sawPacket = false;
    bool sawFields = false;
    bool sawRowData = false;
    QString why;
    while (why.isEmpty() && !xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        if (name == QLatin1String("DATAPACKET")) {
            sawPacket = true;
        } else if (!sawPacket) {
            why = QStringLiteral("DATAPACKET がありません");
        } else if (name == QLatin1String("FIELDS")) {
            sawFields = true;
        } else if (name == QLatin1String("FIELD")) {
            FieldDef field;
            if (parseField(xml.attributes(), &field, &why))
                readFields.append(field);
        } else if (name == QLatin1String("ROWDATA")) {
            if (!sawFields)
                why = QStringLiteral("FIELDS の前に ROWDATA があります");
            sawRowData = true;
        } else if (name == QLatin1String("ROW")) {
            if (!sawRowData) {
                why = QStringLiteral("ROWDATA の外に ROW があります");
                break;
            }
            QVector<QVariant> values(readFields.size());
            const QXmlStreamAttributes attributes = xml.attributes();
            int expected = 0; // attributes come in field order, so try the next field first
            for (const QXmlStreamAttribute& attribute : attributes) {
                int index = -1;
                for (int n = 0; n < readFields.size(); ++n) {
                    const int f = (expected + n) % int(readFields.size());
                    if (readFields.at(f).name == attribute.name()) {
                        index = f;
                        break;
                    }
                }
                expected = index + 1;
                if (index < 0) {
                    why = QStringLiteral("%1 行目に未定義の項目 %2 があります").arg(readRows.size() + 1).arg(attribute.name().toString());
                    break;
                }
                if (!parseValue(readFields.at(index), attribute.value(), &values[index])) {
                    why = QStringLiteral("%1 行目の項目 %2 の値 \"%3\" は型に合いません")
                              .arg(readRows.size() + 1)
                              .arg(readFields.at(index).name, attribute.value().toString());
                    break;
                }
            }
            readRows.append(std::move(values));
        }
    }
    if (why.isEmpty() && xml.hasError())
        why = xml.errorString();
    if (why.isEmpty() && (!sawPacket || !sawRowData))
        why = QStringLiteral("表の形式ではありません");
    if (!why.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1: %2 行 %3 桁: %4")
                         .arg(shownPath)
                         .arg(xml.lineNumber())
                         .arg(xml.columnNumber())
                         .arg(why);
        return false;
    }
    *fields = std::move(readFields);
    *rows = std::move(readRows);
    return true;
}

bool write(const QString& path, const QList<FieldDef>& fields, const std::vector<const QVector<QVariant>*>& rows,
           QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1: 書き込めません (%2)").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    QXmlStreamWriter xml(&file);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeCharacters(QStringLiteral("\n"));
    xml.writeStartElement(QStringLiteral("DATAPACKET"));
    xml.writeAttribute(QStringLiteral("Version"), QStringLiteral("2.0"));
    xml.writeCharacters(QStringLiteral("\n"));
    xml.writeStartElement(QStringLiteral("METADATA"));
    xml.writeStartElement(QStringLiteral("FIELDS"));
    xml.writeCharacters(QStringLiteral("\n"));
    QList<int> stored;
    for (int f = 0; f < fields.size(); ++f) {
        const FieldDef& field = fields.at(f);
        if (!field.isStored())
            continue;
        stored.append(f);
        xml.writeEmptyElement(QStringLiteral("FIELD"));
        xml.writeAttribute(QStringLiteral("attrname"), field.name);
        xml.writeAttribute(QStringLiteral("fieldtype"), typeName(field.type));
        if ((field.type == FieldType::FixedText || field.type == FieldType::Text) && field.width > 0)
            xml.writeAttribute(QStringLiteral("WIDTH"), QString::number(field.width));
        if (field.type == FieldType::FixedText)
            xml.writeAttribute(QStringLiteral("SUBTYPE"), kFixedChar);
        else if (field.type == FieldType::Memo)
            xml.writeAttribute(QStringLiteral("SUBTYPE"), QStringLiteral("Text"));
        xml.writeCharacters(QStringLiteral("\n"));
    }
    xml.writeEndElement(); // FIELDS
    xml.writeEmptyElement(QStringLiteral("PARAMS"));
    xml.writeEndElement(); // METADATA
    xml.writeCharacters(QStringLiteral("\n"));
    xml.writeStartElement(QStringLiteral("ROWDATA"));
    xml.writeCharacters(QStringLiteral("\n"));
    for (const QVector<QVariant>* row : rows) {
        xml.writeEmptyElement(QStringLiteral("ROW"));
        for (int f : stored) {
            if (f >= row->size())
                continue;
            const QVariant& value = row->at(f);
            if (!value.isValid() || value.isNull())
                continue;
            xml.writeAttribute(fields.at(f).name, fileValue(fields.at(f), value));
        }
        xml.writeCharacters(QStringLiteral("\n"));
    }
    xml.writeEndElement(); // ROWDATA
    xml.writeCharacters(QStringLiteral("\n"));
    xml.writeEndElement(); // DATAPACKET
    xml.writeEndDocument();
    if (xml.hasError() || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1: 書き込みに失敗しました (%2)").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

bool writeEmpty(const QString& path, const QList<FieldDef>& fields, QString* error)
{
    return write(path, fields, {}, error);
}

} // namespace TableFile
} // namespace store
