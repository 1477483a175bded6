#include "util/NumberText.h"

#include <charconv>
#include <cmath>

namespace numbertext {

QString format(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    // Qt writes "1e+20"; the general form writes "1E20" and "1E-5".
    const int e = text.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        QString mantissa = text.left(e);
        QString exponent = text.mid(e + 1);
        const bool negative = exponent.startsWith(QLatin1Char('-'));
        exponent.remove(QLatin1Char('+')).remove(QLatin1Char('-'));
        while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0')))
            exponent.remove(0, 1);
        text = mantissa + QLatin1Char('E') + (negative ? QStringLiteral("-") : QString()) + exponent;
    }
    return text;
}

bool parse(const QString& text, double* value)
{
    // blanks, [sign], digits [. digits] or . digits, [e [sign] digits], blanks
    const QStringView t = QStringView(text).trimmed();
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < t.size() && t.at(i) >= QLatin1Char('0') && t.at(i) <= QLatin1Char('9'))
            ++i;
        return i - start;
    };
    if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
        ++i;
    qsizetype mantissa = digits();
    if (i < t.size() && t.at(i) == QLatin1Char('.')) {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < t.size() && (t.at(i) == QLatin1Char('e') || t.at(i) == QLatin1Char('E'))) {
        ++i;
        if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
            ++i;
        if (digits() == 0)
            return false;
    }
    if (i != t.size())
        return false;
    // The text is plain ASCII now: the standard conversion (correctly rounded, like Qt's) reads it
    // many times faster than QStringView::toDouble. A leading '+' is not part of its grammar.
    const QStringView number = t.startsWith(QLatin1Char('+')) ? t.mid(1) : t;
    char ascii[64];
    if (number.size() <= qsizetype(sizeof ascii)) {
        for (qsizetype c = 0; c < number.size(); ++c)
            ascii[c] = char(number.at(c).unicode());
        double converted = 0;
        const auto [end, failure] = std::from_chars(ascii, ascii + number.size(), converted);
        if (failure == std::errc() && end == ascii + number.size() && std::isfinite(converted)) {
            *value = converted;
            return true;
        }
    }
    bool ok = false;
    const double parsed = t.toDouble(&ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}

double round2(double value)
{
    return std::trunc(value * 100 + 0.5) / 100;
}

} // namespace numbertext
