#include "util/NumberText.h"

#include <QRegularExpression>

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
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!number.match(text).hasMatch())
        return false;
    bool ok = false;
    const double parsed = text.trimmed().toDouble(&ok);
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
