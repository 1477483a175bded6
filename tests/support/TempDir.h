#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// A temporary folder removed when the test ends, with small helpers to lay files into it.
class TempDir
{
public:
    TempDir();
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& relative) const;
    // Writes bytes to a file below the folder, creating its parent folders.
    QString write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir m_dir;
};

} // namespace testsupport
