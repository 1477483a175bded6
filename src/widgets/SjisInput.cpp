#include "widgets/SjisInput.h"

#include "util/SjisText.h"
#include "util/UserInteraction.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

namespace widgets {

bool refuseUnencodable(const QString& text)
{
    const auto bad = sjis::findUnencodable(text);
    if (!bad)
        return false;
    UserInteraction::current().warn(QStringLiteral("注意"), sjis::unencodableMessage(*bad));
    return true;
}

QString textOfKey(const QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste))
        return QApplication::clipboard()->text();
    return event->text();
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
