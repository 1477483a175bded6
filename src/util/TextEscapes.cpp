#include "util/TextEscapes.h"

namespace {
const QString kBlankWord = QStringLiteral("spacespacespace");
const QString kTabWord = QStringLiteral("tabtabtab");
const QString kQuoteWord = QStringLiteral("dabdabdab");
} // namespace

QString EscapeBlanks(const QString& text)
{
    QString result = text;
    result.replace(QLatin1Char(' '), kBlankWord);
    result.replace(QLatin1Char('\t'), kTabWord);
    result.replace(QLatin1Char('"'), kQuoteWord);
    return result;
}

QString UnescapeBlanks(const QString& text)
{
    QString result = text;
    result.replace(kBlankWord, QStringLiteral(" "));
    result.replace(kTabWord, QStringLiteral("\t"));
    result.replace(kQuoteWord, QStringLiteral("\""));
    return result;
}
