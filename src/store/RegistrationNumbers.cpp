#include "store/RegistrationNumbers.h"

#include "store/Table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace store {

const QStringList kRegionalPrefixes = {
    QStringLiteral("TH-"),  QStringLiteral("KT-"),  QStringLiteral("HR-"),  QStringLiteral("CB-"),  QStringLiteral("KK-"),
    QStringLiteral("CG-"),  QStringLiteral("SK-"),  QStringLiteral("QS-"),  QStringLiteral("XX-"),  QStringLiteral("HK-"),
    QStringLiteral("THK-"), QStringLiteral("KTK-"), QStringLiteral("HRK-"), QStringLiteral("CBK-"), QStringLiteral("KKK-"),
    QStringLiteral("CGK-"), QStringLiteral("SKK-"), QStringLiteral("QSK-"), QStringLiteral("XXK-"), QStringLiteral("HKK-"),
};

QString PhotoSlotOfFileName(const QString& fileName)
{
    bool prefixed = false;
    for (const QString& prefix : kRegionalPrefixes)
        prefixed = prefixed || fileName.startsWith(prefix);
    const int dot = fileName.indexOf(QLatin1Char('.'));
    if (!prefixed || dot < 1)
        return {};
    return fileName.mid(dot - 1, 1);
}

QString GetMaxID(Table* table, int position)
{
    double highest = 0;
    bool any = false;
    const int saved = table->recNo();
    for (table->first(); !table->eof(); table->next()) {
        const Field field = table->field(position);
        if (field.isNull())
            continue;
        const double value = std::trunc(field.asFloat());
        if (!any || value > highest)
            highest = value;
        any = true;
    }
    if (saved > 0)
        table->setRecNo(saved);
    return any ? QString::number(qint64(highest) + 1) : QStringLiteral("1");
}

bool GetDBGridRowCount(Table* table, int limit)
{
    return table->recordCount() < limit;
}

QString FndFile(const QString& folder, const QString& pattern)
{
    const QStringList found = QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    return found.isEmpty() ? QString() : QDir(folder).filePath(found.first());
}

qint64 FileSizeOf(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile() ? info.size() : 0;
}

QString localNumber(int n)
{
    return QStringLiteral("XXK-%1").arg(n, 6, 10, QLatin1Char('0'));
}

} // namespace store
