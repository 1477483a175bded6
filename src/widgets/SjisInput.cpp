#include "widgets/SjisInput.h"

#include "util/InputRules.h"
#include "util/SjisText.h"
#include "util/UserInteraction.h"

#include <algorithm>

namespace widgets {

bool refuseUnencodable(const QString& text)
{
    const auto bad = sjis::findUnencodable(text);
    if (!bad)
        return false;
    UserInteraction::current().warn(QStringLiteral("注意"), sjis::unencodableMessage(*bad));
    return true;
}

QString firstLineOnly(const QString& text)
{
    QString line;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            break;
        if (c == QLatin1Char('\t'))
            line.append(QLatin1Char(' '));
        else if (c.category() != QChar::Other_Control)
            line.append(c);
    }
    return line;
}

bool refuseCharacters(const QString& text, const std::function<bool(QChar)>& accepted)
{
    const auto refused = std::find_if_not(text.begin(), text.end(), accepted);
    if (refused == text.end())
        return false;
    UserInteraction::current().warn(QStringLiteral("注意"), QStringLiteral("「%1」はこの欄に入力できない文字のため、貼り付けできません。").arg(*refused));
    return true;
}

void tellCut()
{
    UserInteraction::current().warn(kProgramTitle, inputrules::kMemoLimitMessage);
}

QValidator::State SjisValidator::validate(QString& input, int&) const
{
    if (sjis::findUnencodable(input))
        return Invalid;
    if (m_maxBytes > 0 && sjis::byteLength(input) > m_maxBytes)
        return Invalid;
    return Acceptable;
}

} // namespace widgets
