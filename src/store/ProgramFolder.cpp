#include "store/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace store {

ProgramFolder::ProgramFolder(const QString& root)
    : m_root(QDir::cleanPath(QDir(root).absolutePath()))
{
}

QString ProgramFolder::resolveIn(const QString& folder, const QString& name)
{
    const QString exact = QDir(folder).filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(entry);
    }
    return exact;
}

QString ProgramFolder::path(const QString& relative) const
{
    QString current = m_root;
    const QStringList parts = QString(relative).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts)
        current = resolveIn(current, part);
    return current;
}

} // namespace store
