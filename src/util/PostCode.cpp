#include "util/PostCode.h"

namespace postcode {

namespace {
const QChar kMark(0x3012); // 〒
}

QString JoinPostCode(const QString& first, const QString& second, const QString& separator)
{
    const QString a = first.trimmed();
    const QString b = second.trimmed();
    if (a.isEmpty() || b.isEmpty())
        return {};
    return a + separator.trimmed() + b;
}

QString storedForm(const QString& first, const QString& second)
{
    const QString joined = JoinPostCode(first, second);
    return joined.isEmpty() ? QString() : kMark + joined;
}

void split(const QString& stored, QString* first, QString* second)
{
    first->clear();
    second->clear();
    if (!stored.startsWith(kMark))
        return;
    const QString rest = stored.mid(1);
    const int dash = rest.indexOf(QLatin1Char('-'));
    if (dash < 0) {
        *first = rest.trimmed();
        return;
    }
    *first = rest.left(dash).trimmed();
    *second = rest.mid(dash + 1).trimmed();
}

} // namespace postcode
