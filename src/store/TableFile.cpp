#include "store/TableFile.h"

#include "util/NumberText.h"
#include "util/FileWriting.h"
#include "util/SjisText.h"
#include "store/XmlScanner.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {
namespace TableFile {

namespace {

const QString kFixedChar = QStringLiteral("FixedChar");

// Bounds that no table reaches (the widest has about 120 fields; a field's element has four
// attributes), so that a hostile file is refused before it costs more than its reading.
constexpr int kMaxFields = 1024;
constexpr int kMaxHeaderAttributes = 16;

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

// Appends text as UTF-8 for an attribute value in double quotes: markup characters and the
// white space that attribute normalisation would fold are written as references.
void appendEscapedSlowly(QByteArray* out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8.at(i);
        const char* reference = nullptr;
        switch (c) {
        case '&': reference = "&amp;"; break;
        case '<': reference = "&lt;"; break;
        case '>': reference = "&gt;"; break;
        case '"': reference = "&quot;"; break;
        case '\n': reference = "&#10;"; break;
        case '\r': reference = "&#13;"; break;
        case '\t': reference = "&#9;"; break;
        default: continue;
        }
        out->append(utf8.constData() + plainFrom, i - plainFrom);
        out->append(reference);
        plainFrom = i + 1;
    }
    out->append(utf8.constData() + plainFrom, utf8.size() - plainFrom);
}

// The same in one pass from UTF-16 straight into the output (saving writes every row of a table):
// text with a lone surrogate, which has no UTF-8 form, goes the slow way.
void appendEscaped(QByteArray* out, const QString& text)
{
    const qsizetype start = out->size();
    out->resize(start + text.size() * 6); // "&quot;" is the longest form of one UTF-16 unit
    char* const begin = out->data() + start;
    char* at = begin;
    const char16_t* p = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = p + text.size();
    const auto put = [&at](const char* reference, int length) {
        std::memcpy(at, reference, size_t(length));
        at += length;
    };
    for (; p < end; ++p) {
        const char16_t c = *p;
        if (c < 0x80) {
            switch (c) {
            case u'&': put("&amp;", 5); break;
            case u'<': put("&lt;", 4); break;
            case u'>': put("&gt;", 4); break;
            case u'"': put("&quot;", 6); break;
            case u'\n': put("&#10;", 5); break;
            case u'\r': put("&#13;", 5); break;
            case u'\t': put("&#9;", 4); break;
            default: *at++ = char(c); break;
            }
        } else if (c < 0x800) {
            *at++ = char(0xC0 | (c >> 6));
            *at++ = char(0x80 | (c & 0x3F));
        } else if (c < 0xD800 || c > 0xDFFF) {
            *at++ = char(0xE0 | (c >> 12));
            *at++ = char(0x80 | ((c >> 6) & 0x3F));
            *at++ = char(0x80 | (c & 0x3F));
        } else if (c < 0xDC00 && p + 1 < end && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            const char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(p[1]) - 0xDC00);
            *at++ = char(0xF0 | (cp >> 18));
            *at++ = char(0x80 | ((cp >> 12) & 0x3F));
            *at++ = char(0x80 | ((cp >> 6) & 0x3F));
            *at++ = char(0x80 | (cp & 0x3F));
            ++p;
        } else {
            out->resize(start);
            appendEscapedSlowly(out, text);
            return;
        }
    }
    out->resize(start + (at - begin));
}

// Appends the file form of a value; false when the value has none the reader would take back
// (a date that does not exist, a number that is not finite).
bool appendFileValue(QByteArray* out, const FieldDef& field, const QVariant& value)
{
    switch (field.type) {
    case FieldType::FixedText: {
        const QString text = value.toString();
        const qsizetype start = out->size();
        appendEscaped(out, text);
        const qsizetype padding = std::max<qsizetype>(0, field.width - sjis::byteLength(text));
        // The reader takes no longer value: a file it would refuse is never written.
        if (out->size() - start + padding > XmlScanner::kMaxValueBytes)
            return false;
        out->append(padding, ' ');
        return true;
    }
    case FieldType::Float:
    case FieldType::Integer: {
        const double number = value.toDouble();
        if (!std::isfinite(number))
            return false;
        if (number == std::trunc(number) && std::abs(number) < 1e15) {
            out->append(QByteArray::number(qint64(number)));
            return true;
        }
        // The shortest text that reads back as exactly this number ("0.1", "1.2345678901234567e+129"):
        // the general form's 15 digits would change a number that needs more.
        char digits[32];
        const auto written = std::to_chars(digits, digits + sizeof digits, number);
        out->append(digits, written.ptr - digits);
        return true;
    }
    case FieldType::DateTime: {
        const QDate date = value.toDate();
        if (!date.isValid() || date.year() < 1 || date.year() > 9999)
            return false;
        char digits[9];
        std::snprintf(digits, sizeof digits, "%04d%02d%02d", date.year(), date.month(), date.day());
        out->append(digits, 8);
        return true;
    }
    default: {
        const qsizetype start = out->size();
        appendEscaped(out, value.typeId() == QMetaType::Double ? numbertext::format(value.toDouble()) : value.toString());
        return out->size() - start <= XmlScanner::kMaxValueBytes;
    }
    }
}

// Whether a value read from `rawSize` bytes could be written back longer than the reader's bound on
// a value: escaping makes a value at most six times its text, and fixed text is padded to its width.
bool mayOutgrowTheBound(const FieldDef& field, qsizetype rawSize)
{
    return 6 * rawSize + std::max(0, field.width) > XmlScanner::kMaxValueBytes;
}

// Whether a stored value is written back within the reader's bound on a value.
bool writableWithinBound(const FieldDef& field, const QVariant& value)
{
    if (value.isNull())
        return true; // not written
    if (field.type == FieldType::FixedText && field.width > XmlScanner::kMaxValueBytes)
        return false; // the padding alone would pass the bound
    QByteArray written;
    return appendFileValue(&written, field, value);
}

// Converts an attribute of the file into the stored value; false when it does not fit.
bool parseValue(const FieldDef& field, const QString& text, QVariant* value)
{
    switch (field.type) {
    case FieldType::FixedText:
    case FieldType::Text: {
        QString stored = text; // shared, not copied
        if (field.type == FieldType::FixedText && stored.endsWith(QLatin1Char(' '))) {
            qsizetype end = stored.size();
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
        *value = text.isEmpty() ? QVariant() : QVariant(text);
        return true;
    case FieldType::Float:
    case FieldType::Integer: {
        double number = 0;
        if (!numbertext::parse(text, &number))
            return false;
        if (field.type == FieldType::Integer) {
            if (number != std::trunc(number) || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
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
        int digits[8];
        for (int i = 0; i < 8; ++i) {
            if (!text.at(i).isDigit() || text.at(i).unicode() > '9')
                return false;
            digits[i] = text.at(i).unicode() - '0';
        }
        const QDate date(digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3], digits[4] * 10 + digits[5],
                         digits[6] * 10 + digits[7]);
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

// The number of UTF-16 units of well-formed UTF-8 text.
qsizetype utf16Length(QByteArrayView utf8)
{
    qsizetype units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0) != 0x80 ? 1 : 0; // a character's first byte
        units += byte >= 0xF0 ? 1 : 0;          // past U+FFFF: a surrogate pair
    }
    return units;
}

// Checks a plain attribute value of the file as parseValue would, mostly without decoding it.
bool fitsField(const FieldDef& field, QByteArrayView raw)
{
    switch (field.type) {
    case FieldType::FixedText:
    case FieldType::Text: {
        QByteArrayView stored = raw;
        if (field.type == FieldType::FixedText) {
            while (stored.endsWith(' '))
                stored.chop(1);
        }
        // No character takes more Shift_JIS bytes than twice its UTF-16 units.
        if (field.width == 0 || utf16Length(stored) * 2 <= field.width)
            return true;
        break;
    }
    case FieldType::Memo:
        return true;
    case FieldType::DateTime:
        if (raw.size() != 8)
            return false;
        for (const char c : raw) {
            if (c < '0' || c > '9')
                return false;
        }
        return QDate(raw.first(4).toInt(), raw.sliced(4, 2).toInt(), raw.sliced(6, 2).toInt()).isValid();
    default:
        break;
    }
    QVariant ignored;
    return parseValue(field, XmlScanner::plainText(raw), &ignored);
}

// The text of an attribute, decoding a plain value the scanner left as written.
QString attributeText(const XmlScanner::Attribute& attribute)
{
    return attribute.plain && attribute.value.isNull() ? XmlScanner::plainText(attribute.raw) : attribute.value;
}

// A piece of the file quoted in a message: never more than a short beginning.
QString shortened(const QString& text)
{
    constexpr int kShown = 40;
    return text.size() <= kShown ? text : text.left(kShown) + QStringLiteral("…");
}

bool hasDistinctNames(const QVector<XmlScanner::Attribute>& attributes)
{
    for (qsizetype i = 1; i < attributes.size(); ++i) {
        for (qsizetype j = 0; j < i; ++j) {
            if (attributes.at(i).name == attributes.at(j).name)
                return false;
        }
    }
    return true;
}

QString attributeValue(const QVector<XmlScanner::Attribute>& attributes, const char* name, bool* present = nullptr)
{
    for (const XmlScanner::Attribute& attribute : attributes) {
        if (attribute.name == name) {
            if (present)
                *present = true;
            return attribute.value;
        }
    }
    if (present)
        *present = false;
    return {};
}

bool parseField(const QVector<XmlScanner::Attribute>& attributes, FieldDef* field, QString* why)
{
    field->name = attributeValue(attributes, "attrname");
    if (field->name.isEmpty()) {
        *why = QStringLiteral("項目名がありません");
        return false;
    }
    const QString type = attributeValue(attributes, "fieldtype");
    const QString subtype = attributeValue(attributes, "SUBTYPE");
    field->width = 0;
    if (type == QLatin1String("string")) {
        field->type = subtype == kFixedChar ? FieldType::FixedText : FieldType::Text;
        bool hasWidth = false;
        const QString width = attributeValue(attributes, "WIDTH", &hasWidth);
        bool ok = true;
        if (hasWidth)
            field->width = width.toInt(&ok);
        if (!ok || field->width < 0) {
            *why = QStringLiteral("項目 %1 の幅が正しくありません").arg(shortened(field->name));
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
        *why = QStringLiteral("項目 %1 の型 \"%2\" は扱えません").arg(shortened(field->name), shortened(type));
        return false;
    }
    return true;
}

// Reads a file that is a regular file: a pipe, a device or a socket in its place is refused
// without waiting for a writer (the open never blocks), as is anything that is not read whole.
bool readRegularFile(const QString& path, QByteArray* bytes, QString* why)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    QFile file;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        *why = QStringLiteral("通常のファイルではありません");
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *why = file.errorString();
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes->size() != status.st_size) {
        *why = file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("読み込みの途中で大きさが変わりました");
        bytes->clear();
        return false;
    }
    return true;
}

} // namespace

bool read(const QString& path, QList<FieldDef>* fields, QList<QVector<QVariant>>* rows, QString* error, QList<RowForm>* forms,
          Values values)
{
    fields->clear();
    rows->clear();
    const QString shownPath = QDir::toNativeSeparators(path);
    QByteArray document;
    QString why;
    if (!readRegularFile(path, &document, &why)) {
        if (error)
            *error = QStringLiteral("%1: ファイルを開けません (%2)").arg(shownPath, why);
        return false;
    }
    return parse(std::move(document), shownPath, fields, rows, error, forms, values);
}

bool parse(QByteArray document, const QString& shownPath, QList<FieldDef>* fields, QList<QVector<QVariant>>* rows, QString* error,
           QList<RowForm>* forms, Values wanted)
{
    const bool formsOnly = forms && wanted == Values::OfRowsWithoutForm;
    fields->clear();
    rows->clear();
    if (forms)
        forms->clear();
    QList<RowForm> readForms;
    XmlScanner xml(std::move(document));
    xml.setMaxAttributes(kMaxHeaderAttributes);
    QList<FieldDef> readFields;
    QVector<QByteArray> fieldNames; // UTF-8, as the rows' attributes name them
    QHash<QByteArray, int> fieldByName;
    QList<QVector<QVariant>> readRows;
    QVector<bool> seen;
    // Exactly the writer's layout: DATAPACKET > METADATA > FIELDS > FIELD*, PARAMS, then
    // ROWDATA > ROW*. `place` is where the reader stands in it.
    enum class Place { Start, Packet, Metadata, Fields, Field, AfterFields, Params, AfterParams, AfterMetadata, RowData, Row, AfterRowData, End };
    Place place = Place::Start;
    QString why;
    const auto unexpected = [&](const QByteArray& name) {
        why = place == Place::Start ? QStringLiteral("DATAPACKET がありません")
                                    : QStringLiteral("要素 %1 の位置が正しくありません").arg(shortened(QString::fromLatin1(name)));
    };
    for (XmlScanner::Token token = xml.next(); why.isEmpty(); token = xml.next()) {
        if (token == XmlScanner::Token::Error) {
            why = xml.errorString();
            break;
        }
        if (token == XmlScanner::Token::EndOfDocument)
            break;
        const QByteArray& name = xml.name();
        if (token == XmlScanner::Token::EndElement) {
            switch (place) {
            case Place::Field: place = Place::Fields; break;
            case Place::Fields: place = Place::AfterFields; break;
            case Place::Params: place = Place::AfterParams; break;
            case Place::AfterFields: // PARAMS may be left out
            case Place::AfterParams: place = Place::AfterMetadata; break;
            case Place::Row: place = Place::RowData; break;
            case Place::RowData: place = Place::AfterRowData; break;
            case Place::AfterRowData: place = Place::End; break;
            default: unexpected(name); break;
            }
            continue;
        }
        const auto expect = [&](const char* wanted, Place from, Place to) {
            if (place != from || name != wanted)
                return false;
            place = to;
            return true;
        };
        if (!hasDistinctNames(xml.attributes()) && name != "ROW") {
            why = QStringLiteral("要素 %1 に同じ属性が重複しています").arg(shortened(QString::fromLatin1(name)));
        } else if (expect("DATAPACKET", Place::Start, Place::Packet) || expect("METADATA", Place::Packet, Place::Metadata)
                   || expect("FIELDS", Place::Metadata, Place::Fields) || expect("PARAMS", Place::AfterFields, Place::Params)) {
        } else if (expect("ROWDATA", Place::AfterMetadata, Place::RowData)) {
            // A row holds only the fields declared: a tag with more attributes is refused at once.
            xml.setMaxAttributes(std::max<qsizetype>(1, readFields.size()));
            xml.setDecodePlainValues(!formsOnly);
        } else if (expect("FIELD", Place::Fields, Place::Field)) {
            FieldDef field;
            if (readFields.size() >= kMaxFields) {
                why = QStringLiteral("項目が多すぎます (%1 個まで)").arg(kMaxFields);
            } else if (parseField(xml.attributes(), &field, &why)) {
                const QByteArray utf8 = field.name.toUtf8();
                if (fieldByName.contains(utf8))
                    why = QStringLiteral("項目 %1 が重複しています").arg(shortened(field.name));
                fieldByName.insert(utf8, int(fieldNames.size()));
                fieldNames.append(utf8);
                readFields.append(field);
            }
        } else if (expect("ROW", Place::RowData, Place::Row)) {
            // A row kept in its file form is only checked here.
            const bool checkOnly = formsOnly && xml.selfClosing();
            QVector<QVariant> values(checkOnly ? 0 : readFields.size());
            seen.fill(false, readFields.size());
            int expected = 0; // attributes come in field order: look from the field after the last one
            for (const XmlScanner::Attribute& attribute : xml.attributes()) {
                int index = expected < fieldNames.size() && fieldNames.at(expected) == attribute.name
                    ? expected
                    : fieldByName.value(attribute.name.toByteArray(), -1);
                if (index < 0) {
                    why = QStringLiteral("%1 行目に未定義の項目 %2 があります").arg(readRows.size() + 1).arg(shortened(QString::fromUtf8(attribute.name)));
                    break;
                }
                if (seen.at(index)) {
                    why = QStringLiteral("%1 行目の項目 %2 が重複しています").arg(readRows.size() + 1).arg(shortened(readFields.at(index).name));
                    break;
                }
                seen[index] = true;
                expected = index + 1;
                QVariant checked;
                const bool fits = checkOnly && attribute.plain
                    ? fitsField(readFields.at(index), attribute.raw)
                    : parseValue(readFields.at(index), attributeText(attribute), checkOnly ? &checked : &values[index]);
                if (!fits) {
                    why = QStringLiteral("%1 行目の項目 %2 の値 \"%3\" は型に合いません")
                              .arg(readRows.size() + 1)
                              .arg(shortened(readFields.at(index).name), shortened(attributeText(attribute)));
                    break;
                }
                if (mayOutgrowTheBound(readFields.at(index), attribute.raw.size()) && checkOnly && attribute.plain)
                    parseValue(readFields.at(index), attributeText(attribute), &checked);
                if (mayOutgrowTheBound(readFields.at(index), attribute.raw.size())
                    && !writableWithinBound(readFields.at(index), checkOnly ? checked : values.at(index))) {
                    why = QStringLiteral("%1 行目の項目 %2 の値は書き戻すと長すぎます (%3 バイトまで)")
                              .arg(readRows.size() + 1)
                              .arg(shortened(readFields.at(index).name))
                              .arg(XmlScanner::kMaxValueBytes);
                    break;
                }
            }
            readRows.append(std::move(values));
            if (forms)
                readForms.append(xml.selfClosing() ? RowForm{xml.document(), xml.tagStart(), xml.tagSize()} : RowForm{});
        } else {
            unexpected(name);
        }
    }
    if (why.isEmpty() && place != Place::End)
        why = QStringLiteral("表の形式ではありません");
    if (!why.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1: %2 行 %3 桁: %4").arg(shownPath).arg(xml.lineNumber()).arg(xml.columnNumber()).arg(why);
        return false;
    }
    *fields = std::move(readFields);
    *rows = std::move(readRows);
    if (forms)
        *forms = std::move(readForms);
    return true;
}

RowDecoder::RowDecoder(const QList<FieldDef>& fields)
    : m_fields(fields)
{
    for (const FieldDef& field : fields)
        m_names.append(field.name.toUtf8());
}

QVector<QVariant> RowDecoder::values(const RowForm& form) const
{
    QVector<QVariant> values(m_fields.size());
    const QByteArrayView bytes = form.bytes();
    // The row element alone is a document of its own; it was checked when the file was read.
    XmlScanner xml(QByteArray::fromRawData(bytes.data(), bytes.size()));
    if (xml.next() != XmlScanner::Token::StartElement)
        return values;
    int expected = 0;
    for (const XmlScanner::Attribute& attribute : xml.attributes()) {
        int index = expected < m_names.size() && m_names.at(expected) == attribute.name ? expected : int(m_names.indexOf(attribute.name));
        if (index < 0)
            continue;
        expected = index + 1;
        parseValue(m_fields.at(index), attribute.value, &values[index]);
    }
    return values;
}

QVariant RowDecoder::value(const RowForm& form, int field) const
{
    if (field < 0 || field >= m_fields.size())
        return {};
    // The form passed the strict reader: a plain walk over its attributes finds the one wanted.
    const QByteArrayView bytes = form.bytes();
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    qsizetype at = 1; // past '<'
    while (at < bytes.size() && !isBlank(bytes.at(at)) && bytes.at(at) != '/')
        ++at; // past the element's name
    while (at < bytes.size()) {
        while (at < bytes.size() && isBlank(bytes.at(at)))
            ++at;
        const qsizetype nameStart = at;
        while (at < bytes.size() && bytes.at(at) != '=' && !isBlank(bytes.at(at)))
            ++at;
        const QByteArrayView name = bytes.sliced(nameStart, at - nameStart);
        // Only blanks and '=' lie between the name and its opening quote, of either kind.
        qsizetype quote = at;
        while (quote < bytes.size() && bytes.at(quote) != '"' && bytes.at(quote) != '\'')
            ++quote;
        if (quote == bytes.size())
            break; // the tag's end: no value of this field
        const qsizetype close = bytes.indexOf(bytes.at(quote), quote + 1);
        if (close < 0)
            break;
        if (name == m_names.at(field)) {
            const QByteArrayView raw = bytes.sliced(quote + 1, close - quote - 1);
            const bool plain = std::none_of(raw.begin(), raw.end(), [](char c) { return c == '&' || static_cast<unsigned char>(c) < 0x20; });
            if (!plain)
                return values(form).at(field);
            QVariant value;
            parseValue(m_fields.at(field), XmlScanner::plainText(raw), &value);
            return value;
        }
        at = close + 1;
    }
    return {};
}

bool write(QIODevice* device, const QList<FieldDef>& fields, const std::vector<const QVector<QVariant>*>& rows,
           QString* error, const std::vector<RowForm*>* forms)
{
    QByteArray out;
    out.reserve(1 << 20);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<DATAPACKET Version=\"2.0\">\n<METADATA><FIELDS>\n";
    QList<int> stored;
    QVector<QByteArray> names;
    for (int f = 0; f < fields.size(); ++f) {
        const FieldDef& field = fields.at(f);
        if (!field.isStored())
            continue;
        stored.append(f);
        names.append(' ' + field.name.toUtf8() + "=\"");
        out += "<FIELD attrname=\"";
        appendEscaped(&out, field.name);
        out += "\" fieldtype=\"" + typeName(field.type).toUtf8() + '"';
        if ((field.type == FieldType::FixedText || field.type == FieldType::Text) && field.width > 0)
            out += " WIDTH=\"" + QByteArray::number(field.width) + '"';
        if (field.type == FieldType::FixedText)
            out += " SUBTYPE=\"FixedChar\"";
        else if (field.type == FieldType::Memo)
            out += " SUBTYPE=\"Text\"";
        out += "/>\n";
    }
    out += "</FIELDS><PARAMS/></METADATA>\n<ROWDATA>\n";
    const auto flush = [&] {
        if (!filewriting::writeAll(device, out)) {
            if (error)
                *error = device->errorString();
            return false;
        }
        out.resize(0); // keeps its capacity: freed and grown again, each megabyte could cost a millisecond
        return true;
    };
    for (size_t r = 0; r < rows.size(); ++r) {
        const QVector<QVariant>* row = rows[r];
        RowForm* form = forms ? forms->at(r) : nullptr;
        if (form && !form->isEmpty()) {
            out += form->bytes();
            out += '\n';
            if (out.size() > (1 << 20) && !flush())
                return false;
            continue;
        }
        const qsizetype rowStart = out.size();
        out += "<ROW";
        for (int s = 0; s < stored.size(); ++s) {
            const int f = stored.at(s);
            if (f >= row->size())
                continue;
            const QVariant& value = row->at(f);
            if (!value.isValid() || value.isNull())
                continue;
            out += names.at(s);
            if (!appendFileValue(&out, fields.at(f), value)) {
                if (error)
                    *error = QStringLiteral("項目 %1 の値 \"%2\" は書き込めません").arg(fields.at(f).name, shortened(value.toString()));
                return false;
            }
            out += '"';
        }
        out += "/>";
        if (form)
            *form = RowForm{out.mid(rowStart), 0, out.size() - rowStart};
        out += '\n';
        if (out.size() > (1 << 20) && !flush())
            return false;
    }
    out += "</ROWDATA>\n</DATAPACKET>\n";
    return flush();
}

bool write(const QString& path, const QList<FieldDef>& fields, const std::vector<const QVector<QVariant>*>& rows,
           QString* error, const std::vector<RowForm*>* forms)
{
    QSaveFile file(path);
    QString why;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !write(&file, fields, rows, &why, forms) || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1: 書き込みに失敗しました (%2)").arg(QDir::toNativeSeparators(path), why.isEmpty() ? file.errorString() : why);
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
