#include "store/FieldDef.h"

#include "util/NumberText.h"
#include "util/SjisText.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace store {

namespace {

QString trimTrailingBlanks(QString text)
{
    int end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text;
}

QString shownValue(const QString& text)
{
    constexpr int kShown = 40;
    return text.size() <= kShown ? text : text.left(kShown) + QStringLiteral("…");
}

// The position of the first character a table file cannot hold (a control character other than
// tab and line ends, U+FFFE, U+FFFF, a lone surrogate), -1 when there is none.
qsizetype unwritableAt(const QString& text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x20 && c < 0xD800)
            continue;
        if (c < 0x20) {
            if (c == '\t' || c == '\n' || c == '\r')
                continue;
            return i;
        }
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < n && text.at(i + 1).isLowSurrogate()) {
                ++i;
                continue;
            }
            return i;
        }
        if ((c >= 0xDC00 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF)
            return i;
    }
    return -1;
}

bool parseDate(const QString& text, QDate* date)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{4})[/-](\\d{1,2})[/-](\\d{1,2})\\s*$"));
    static const QRegularExpression compact(QStringLiteral("^\\s*(\\d{4})(\\d{2})(\\d{2})\\s*$"));
    QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        match = compact.match(text);
    if (!match.hasMatch())
        return false;
    const QDate parsed(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    if (!parsed.isValid())
        return false;
    *date = parsed;
    return true;
}

} // namespace

QString refusalMessage(const FieldDef& field, const QString& text, const QString& shownName)
{
    const QString kind = field.type == FieldType::DateTime ? QStringLiteral("日付")
        : field.type == FieldType::Integer                 ? QStringLiteral("整数")
                                                           : QStringLiteral("数値");
    return QStringLiteral("'%1' は %2 の%3として正しくありません。").arg(text, shownName, kind);
}

bool convertText(const FieldDef& field, const QString& text, QVariant* value, QString* error)
{
    switch (field.type) {
    case FieldType::FixedText:
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Lookup: {
        QString stored = field.type == FieldType::FixedText ? trimTrailingBlanks(text) : text;
        // A text is never cut: a value longer than the field is refused, as is a character a
        // table file cannot hold.
        if (field.width > 0 && field.type != FieldType::Memo && stored.size() * 2 > field.width
            && sjis::byteLength(stored) > field.width) {
            if (error)
                *error = QStringLiteral("'%1' は %2 の幅 (%3 バイト) を超えています。").arg(shownValue(stored), field.name).arg(field.width);
            return false;
        }
        if (const qsizetype bad = unwritableAt(stored); bad >= 0) {
            if (error)
                *error = QStringLiteral("%1 に保存できない文字 (U+%2) があります。")
                             .arg(field.name)
                             .arg(stored.at(bad).unicode(), 4, 16, QLatin1Char('0'));
            return false;
        }
        // As in the classic table engines, an empty text is a null value.
        *value = stored.isEmpty() ? QVariant() : QVariant(stored);
        return true;
    }
    case FieldType::Float:
    case FieldType::Integer: {
        if (text.trimmed().isEmpty()) {
            *value = QVariant();
            return true;
        }
        double number = 0;
        if (!numbertext::parse(text, &number)) {
            if (error)
                *error = refusalMessage(field, text, field.name);
            return false;
        }
        if (field.type == FieldType::Integer) {
            if (number != std::trunc(number) || number < std::numeric_limits<qint32>::min()
                || number > std::numeric_limits<qint32>::max()) {
                if (error)
                    *error = refusalMessage(field, text, field.name);
                return false;
            }
            *value = QVariant(qint32(number));
        } else {
            *value = QVariant(number);
        }
        return true;
    }
    case FieldType::DateTime: {
        if (text.trimmed().isEmpty()) {
            *value = QVariant();
            return true;
        }
        QDate date;
        if (!parseDate(text, &date)) {
            if (error)
                *error = refusalMessage(field, text, field.name);
            return false;
        }
        *value = QVariant(date);
        return true;
    }
    }
    return false;
}

bool convertValue(const FieldDef& field, const QVariant& input, QVariant* value, QString* error)
{
    if (!input.isValid() || input.isNull()) {
        *value = QVariant();
        return true;
    }
    switch (input.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        if (!std::isfinite(input.toDouble())) {
            if (error)
                *error = QStringLiteral("%1 に数値でない値は保存できません。").arg(field.name);
            return false;
        }
        if (field.type == FieldType::Float) {
            *value = QVariant(input.toDouble());
            return true;
        }
        return convertText(field, numbertext::format(input.toDouble()), value, error);
    case QMetaType::QDate:
        if (!input.toDate().isValid() || input.toDate().year() < 1 || input.toDate().year() > 9999) {
            if (error)
                *error = QStringLiteral("%1 に正しくない日付は保存できません。").arg(field.name);
            return false;
        }
        if (field.type == FieldType::DateTime) {
            *value = input;
            return true;
        }
        return convertText(field, input.toDate().toString(QStringLiteral("yyyy/MM/dd")), value, error);
    default:
        return convertText(field, input.toString(), value, error);
    }
}

QString valueText(const FieldDef& field, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (field.type) {
    case FieldType::Float:
    case FieldType::Integer:
        return numbertext::format(value.toDouble());
    case FieldType::DateTime:
        return value.toDate().toString(QStringLiteral("yyyy/MM/dd"));
    default:
        if (value.typeId() == QMetaType::Double)
            return numbertext::format(value.toDouble());
        return value.toString();
    }
}

int compareValues(const QVariant& a, const QVariant& b)
{
    const int aType = a.typeId();
    const int bType = b.typeId();
    // Text against text is by far the commonest case (keys, filters): compare in place.
    if (aType == QMetaType::QString && bType == QMetaType::QString)
        return QString::compare(*static_cast<const QString*>(a.constData()), *static_cast<const QString*>(b.constData()));
    const bool aNull = !a.isValid() || a.isNull();
    const bool bNull = !b.isValid() || b.isNull();
    if (aNull || bNull)
        return aNull == bNull ? 0 : (aNull ? -1 : 1);
    const auto isNumber = [](int type) {
        return type == QMetaType::Double || type == QMetaType::Int || type == QMetaType::LongLong;
    };
    if (isNumber(aType) && isNumber(bType)) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (aType == QMetaType::QDate && bType == QMetaType::QDate) {
        const QDate x = a.toDate();
        const QDate y = b.toDate();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(a.toString(), b.toString());
}

} // namespace store
