#include "store/ProgramFolderLocation.h"

#include "store/ProgramFolder.h"
#include "store/ShippedDataInstall.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace store {

namespace {

bool holdsWritableDataFolder(const QString& folder)
{
    const QFileInfo data(ProgramFolder(folder).dataFolder());
    return data.isDir() && data.isWritable();
}

} // namespace

QString installedShippedData(const QString& executableFolder)
{
    return QDir::cleanPath(executableFolder + QStringLiteral("/../share/vordell"));
}

QString locateProgramFolder(const QString& home, const QString& executableFolder, const QString& userDataFolder,
                            QString* error)
{
    if (!home.isEmpty())
        return QDir(home).absolutePath();
    if (holdsWritableDataFolder(executableFolder))
        return QDir(executableFolder).absolutePath();

    const QString shipped = installedShippedData(executableFolder);
    if (!QFileInfo(ProgramFolder(shipped).dataFolder()).isDir()) {
        // Without the installed data the user's folder made before still holds all the program needs.
        if (holdsWritableDataFolder(userDataFolder))
            return QDir(userDataFolder).absolutePath();
        if (error) {
            *error = QStringLiteral("プログラムのデータが見つかりません。\r\n入力システムを再インストールして下さい。\r\n(%1)")
                         .arg(QDir::toNativeSeparators(shipped));
        }
        return {};
    }
    QString why;
    if (userDataFolder.isEmpty() || !installShippedData(shipped, userDataFolder, &why)) {
        if (error) {
            *error = QStringLiteral("データフォルダを準備できません。\r\n%1")
                         .arg(userDataFolder.isEmpty() ? QStringLiteral("ユーザーのデータフォルダが決まりません。") : why);
        }
        return {};
    }
    return QDir(userDataFolder).absolutePath();
}

QString locateProgramFolder(const QString& home, QString* error)
{
    return locateProgramFolder(home, QCoreApplication::applicationDirPath(),
                               QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), error);
}

} // namespace store
