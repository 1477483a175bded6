#include "entry/Photos.h"

#include "util/ImageDimensions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace photos {

namespace {

void makeWritable(const QString& path)
{
    const QFile::Permissions permissions = QFile::permissions(path);
    if (!(permissions & QFileDevice::WriteOwner))
        QFile::setPermissions(path, permissions | QFileDevice::WriteOwner);
}

} // namespace

QString storedFileName(const QString& regNo, const QString& letter, const QString& chosenPath)
{
    const QString name = QFileInfo(chosenPath).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return regNo.trimmed() + letter + (dot < 0 ? QString() : name.mid(dot));
}

QString setAsideName(const QString& storedName)
{
    return QLatin1Char('_') + storedName;
}

QString selectionRefusal(const QString& chosenPath)
{
    if (imagesize::ImageWidth(chosenPath) > kMaxWidth)
        return QStringLiteral("画像の幅が大きすぎます。\r\n") + QString::number(kMaxWidth) + QStringLiteral("ﾋﾟｸｾﾙ以内にしてください。");
    if (QFileInfo(chosenPath).size() / 1024 >= kMaxKiloBytes)
        return QStringLiteral("写真には") + QString::number(kMaxKiloBytes) + QStringLiteral("KB以下のファイルを指定してください。");
    return {};
}

bool copyIntoFolder(const QString& chosenPath, const QString& imagesFolder, const QString& storedName, QString* error)
{
    const QString target = QDir(imagesFolder).filePath(storedName);
    if (QFileInfo(chosenPath).canonicalFilePath() == QFileInfo(target).canonicalFilePath() && QFileInfo::exists(target)) {
        makeWritable(target);
        return true; // the stored photo chosen again: it is already in place
    }
    if (QFileInfo::exists(target))
        makeWritable(target);
    QDir().mkpath(imagesFolder);
    if ((QFileInfo::exists(target) && !QFile::remove(target)) || !QFile::copy(chosenPath, target)) {
        *error = QStringLiteral("画像ファイルの取得に失敗しました。");
        return false;
    }
    makeWritable(target);
    return true;
}

bool setAside(const QString& imagesFolder, const QString& storedName, QString* error)
{
    const QDir folder(imagesFolder);
    const QString stored = folder.filePath(storedName);
    if (storedName.isEmpty() || !QFileInfo::exists(stored))
        return true;
    makeWritable(stored);
    const QString setAsidePath = folder.filePath(setAsideName(storedName));
    const bool done = QFileInfo::exists(setAsidePath) ? QFile::remove(stored) : QFile::rename(stored, setAsidePath);
    if (!done)
        *error = QStringLiteral("画像ファイルは削除できませんでした。");
    return done;
}

QString dialogFolder(const QString& lastFolder, const QString& desktopFolder)
{
    return !lastFolder.isEmpty() && QFileInfo(lastFolder).isDir() ? lastFolder : desktopFolder;
}

} // namespace photos
