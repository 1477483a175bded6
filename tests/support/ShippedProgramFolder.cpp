#include "support/ShippedProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

void copyShippedProgramFolder(const QString& root)
{
    const QString from = QStringLiteral(VORDELL_SOURCE_DIR "/data/program");
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = root + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    QDir(root).mkpath(QStringLiteral("Images"));
    QDir(root).mkpath(QStringLiteral("Temp"));
}

} // namespace testsupport
