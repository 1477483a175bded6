#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

TempDir::TempDir() = default;

QString TempDir::filePath(const QString& relative) const
{
    return m_dir.filePath(relative);
}

QString TempDir::write(const QString& relative, const QByteArray& bytes) const
{
    const QString path = filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QByteArray TempDir::read(const QString& relative) const
{
    QFile file(filePath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace testsupport
