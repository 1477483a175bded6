#include "store/RegistrationKeys.h"

#include "store/Schema.h"

#include <QHash>
#include <QSet>

namespace store {

QString registrationKeyProblem(const KeyColumn& column)
{
    const QString main = QStringLiteral("NT_TBL_MAIN");
    QHash<QString, int> count;
    for (const QString& number : column(main, QStringLiteral("REG_NO"))) {
        if (!number.isEmpty() && ++count[number] == 2)
            return QStringLiteral("%1.cds: 登録番号「%2」の行が複数あります。").arg(main, number);
    }
    QHash<QString, QSet<QString>> masterKeys;
    for (const schema::TableDef& def : schema::registrationTables()) {
        if (def.masterTable.isEmpty())
            continue;
        const QString masterKey = def.masterTable + QLatin1Char('\t') + def.masterFields;
        if (!masterKeys.contains(masterKey)) {
            const QStringList values = column(def.masterTable, def.masterFields);
            masterKeys.insert(masterKey, QSet<QString>(values.begin(), values.end()));
        }
        const QSet<QString>& keys = masterKeys[masterKey];
        for (const QString& key : column(def.name, def.detailFields)) {
            if (!key.isEmpty() && !keys.contains(key))
                return QStringLiteral("%1.cds: %2「%3」の行に対応する %4 の行がありません。").arg(def.name, def.detailFields, key, def.masterTable);
        }
    }
    return QString();
}

} // namespace store
