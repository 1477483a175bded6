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

QString joinedToOneLine(const QString& text, bool* joined)
{
    QString line;
    bool lineBreakPending = false; // a break is written as a blank only when text follows it
    *joined = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lineBreakPending = !line.isEmpty();
            continue;
        }
        if (c.category() == QChar::Other_Control && c != QLatin1Char('\t'))
            continue;
        if (lineBreakPending) {
            line.append(QLatin1Char(' '));
            *joined = true;
            lineBreakPending = false;
        }
        line.append(c == QLatin1Char('\t') ? QChar(QLatin1Char(' ')) : c);
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

void tellPasteChanged(bool joined, bool cut)
{
    if (joined && cut)
        UserInteraction::current().warn(kProgramTitle, kLinesJoinedMessage + QStringLiteral("\r\n") + inputrules::kMemoLimitMessage);
    else if (joined)
        UserInteraction::current().warn(QStringLiteral("注意"), kLinesJoinedMessage);
    else if (cut)
        tellCut();
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
