#include "store/RegistrationKeys.h"

#include <QHash>

namespace store {

QString registrationKeyProblem(const KeyColumn& column)
{
    const QString main = QStringLiteral("NT_TBL_MAIN");
    QHash<QString, int> count;
    for (const QString& number : column(main, QStringLiteral("REG_NO"))) {
        if (!number.isEmpty() && ++count[number] == 2)
            return QStringLiteral("%1.cds: 登録番号「%2」の行が複数あります。").arg(main, number);
    }
    return QString();
}

} // namespace store
