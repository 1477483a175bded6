#pragma once

#include <QString>

namespace cli {

// A value for a tab-separated line: backslashes, tabs and line breaks written as \\, \t, \r, \n.
inline QString escapedCell(const QString& value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    escaped.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    escaped.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return escaped;
}

} // namespace cli
