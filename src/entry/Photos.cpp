#include "entry/Photos.h"

#include "store/Table.h"
#include "util/ImageDecoding.h"
#include "util/ImageDimensions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace photos {

namespace {

const QString kSlotLetters = QStringLiteral("ABSTGHI");

void makeWritable(const QString& path)
{
    const QFile::Permissions permissions = QFile::permissions(path);
    if (!(permissions & QFileDevice::WriteOwner))
        QFile::setPermissions(path, permissions | QFileDevice::WriteOwner);
}

bool removeWritable(const QString& path)
{
    makeWritable(path);
    return QFile::remove(path);
}

// REG_NO + slot letter, then nothing or one extension: the name of a stored photo of `regNo`.
bool isPhotoOf(const QString& fileName, const QString& regNo)
{
    if (regNo.isEmpty() || !fileName.startsWith(regNo) || fileName.size() <= regNo.size())
        return false;
    if (!kSlotLetters.contains(fileName.at(regNo.size())))
        return false;
    const QString rest = fileName.mid(regNo.size() + 1);
    return rest.isEmpty() || (rest.startsWith(QLatin1Char('.')) && rest.count(QLatin1Char('.')) == 1);
}

const QDir::Filters kFiles = QDir::Files | QDir::Hidden | QDir::System;

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

int photoWidth(const QString& path)
{
    const imagesize::PhotoHeader header = imagesize::ReadPhotoHeader(path);
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool named = header.format == imagesize::PhotoFormat::Gif ? suffix == QLatin1String("gif")
                                                                      : suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
    if (header.format == imagesize::PhotoFormat::None || !named || header.size.width == 0 || header.size.height == 0)
        return -1;
    return header.size.width;
}

bool decodesWhole(const QString& path)
{
    const imagesize::PhotoFormat format = imagesize::ReadPhotoHeader(path).format;
    QFile file(path);
    // A photo is far below this; anything larger is no photo to decode.
    constexpr qint64 kMaxDecodedBytes = 16 * 1024 * 1024;
    if (format == imagesize::PhotoFormat::None || !QFileInfo(path).isFile() || file.size() > kMaxDecodedBytes || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return format == imagesize::PhotoFormat::Gif ? imagedecoding::gifDecodesWhole(bytes) : imagedecoding::jpegDecodesWhole(bytes);
}

QString selectionRefusal(const QString& chosenPath)
{
    const int width = photoWidth(chosenPath);
    if (width < 0)
        return kNotAPhoto;
    if (width > kMaxWidth)
        return QStringLiteral("画像の幅が大きすぎます。\r\n") + QString::number(kMaxWidth) + QStringLiteral("ﾋﾟｸｾﾙ以内にしてください。");
    if (QFileInfo(chosenPath).size() / 1024 >= kMaxKiloBytes)
        return QStringLiteral("写真には") + QString::number(kMaxKiloBytes) + QStringLiteral("KB以下のファイルを指定してください。");
    if (!decodesWhole(chosenPath))
        return kNotAPhoto;
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

bool setAside(const QString& imagesFolder, const QString& storedName, bool earlierCopySetAside, QString* error)
{
    const QDir folder(imagesFolder);
    const QString stored = folder.filePath(storedName);
    if (storedName.isEmpty() || !QFileInfo::exists(stored))
        return true;
    makeWritable(stored);
    const QString setAsidePath = folder.filePath(setAsideName(storedName));
    const bool done = earlierCopySetAside
        ? QFile::remove(stored)
        : (!QFileInfo::exists(setAsidePath) || removeWritable(setAsidePath)) && QFile::rename(stored, setAsidePath);
    if (!done)
        *error = kNotDeleted;
    return done;
}

QStringList namedFiles(const store::Table& images, const QString& regNo)
{
    const int number = images.fieldIndex(QStringLiteral("REG_NO"));
    const int file = images.fieldIndex(QStringLiteral("IMAGES_FILE"));
    QStringList names;
    if (number < 0 || file < 0)
        return names;
    const QString wanted = regNo.trimmed();
    // Compared in place: a copy of each row's number costs more than the whole comparison.
    const auto isWanted = [&wanted](const QVariant& value) {
        if (value.typeId() == QMetaType::QString)
            return QStringView(*static_cast<const QString*>(value.constData())).trimmed() == wanted;
        return value.toString().trimmed() == wanted;
    };
    images.forEachStoredRowWhere(number, isWanted, [&](const store::Table::RowValues& row) {
        const QString name = row.value(file).toString().trimmed();
        if (!name.isEmpty())
            names.append(name);
    });
    return names;
}

QStringList removeUnnamedFiles(const QString& imagesFolder, const QString& regNo, const QStringList& named)
{
    QStringList failed;
    const QDir folder(imagesFolder);
    for (const QString& name : folder.entryList(kFiles)) {
        // A row may spell the name in other letter case (data from a system whose file names ignore it).
        if (isPhotoOf(name, regNo.trimmed()) && !named.contains(name, Qt::CaseInsensitive) && !removeWritable(folder.filePath(name)))
            failed.append(folder.filePath(name));
    }
    return failed;
}

QStringList setAsideFilesOf(const QString& imagesFolder, const QString& regNo)
{
    QStringList names;
    for (const QString& name : QDir(imagesFolder).entryList({QStringLiteral("_*")}, kFiles)) {
        if (isPhotoOf(name.mid(1), regNo.trimmed()))
            names.append(name);
    }
    return names;
}

QStringList removeSetAsideFiles(const QString& imagesFolder, const QString& regNo)
{
    QStringList failed;
    const QDir folder(imagesFolder);
    for (const QString& name : setAsideFilesOf(imagesFolder, regNo)) {
        if (!removeWritable(folder.filePath(name)))
            failed.append(folder.filePath(name));
    }
    return failed;
}

QStringList restoreSetAsideFiles(const QString& imagesFolder, const QStringList& setAsideNames)
{
    QStringList failed;
    const QDir folder(imagesFolder);
    for (const QString& setAside : setAsideNames) {
        const QString from = folder.filePath(setAside);
        const QString to = folder.filePath(setAside.mid(1));
        if (!QFileInfo::exists(from))
            continue;
        if ((QFileInfo::exists(to) && !removeWritable(to)) || !QFile::rename(from, to))
            failed.append(from);
    }
    return failed;
}

QString fileFailureMessage(const QString& heading, const QStringList& paths)
{
    QStringList shown;
    for (const QString& path : paths)
        shown.append(QDir::toNativeSeparators(path));
    return heading + QStringLiteral("\r\n") + shown.join(QStringLiteral("\r\n"));
}

QString dialogFolder(const QString& lastFolder, const QString& desktopFolder)
{
    return !lastFolder.isEmpty() && QFileInfo(lastFolder).isDir() ? lastFolder : desktopFolder;
}

} // namespace photos
