#include "util/NumberText.h"

#include <charconv>
#include <cmath>

namespace numbertext {

namespace {

// The general form of a number written without an exponent, from the shortest digits that read
// back as it (the standard conversion, many times faster than QString::number); null when the
// number needs more than 15 digits or an exponent, which the general path handles. With at most
// 15 shortest digits, rounding to 15 digits gives exactly those digits, so the two paths agree.
QString formatPlainly(double value)
{
    char scientific[40];
    const auto [end, failure] = std::to_chars(scientific, scientific + sizeof scientific, value, std::chars_format::scientific);
    if (failure != std::errc())
        return {};
    const char* p = scientific;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    char digits[16];
    int count = 0;
    for (; p < end && *p != 'e'; ++p) {
        if (*p == '.')
            continue;
        if (count == 15)
            return {};
        digits[count++] = *p;
    }
    int exponent = 0;
    if (p == end || std::from_chars(p + (p + 1 < end && p[1] == '+' ? 2 : 1), end, exponent).ec != std::errc())
        return {};
    if (exponent < -4 || exponent >= 15)
        return {};
    char out[40];
    int o = 0;
    if (negative)
        out[o++] = '-';
    if (exponent >= 0) {
        for (int i = 0; i <= exponent; ++i)
            out[o++] = i < count ? digits[i] : '0';
        if (count > exponent + 1) {
            out[o++] = '.';
            for (int i = exponent + 1; i < count; ++i)
                out[o++] = digits[i];
        }
    } else {
        out[o++] = '0';
        out[o++] = '.';
        for (int i = 0; i < -exponent - 1; ++i)
            out[o++] = '0';
        for (int i = 0; i < count; ++i)
            out[o++] = digits[i];
    }
    return QString::fromLatin1(out, o);
}

} // namespace

QString format(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    if (std::isfinite(value)) {
        const QString plain = formatPlainly(value);
        if (!plain.isNull())
            return plain;
    }
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
