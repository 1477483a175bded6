#include "archive/LzhArchive.h"

#include "archive/LzhCrc16.h"
#include "archive/LzhEncoder.h"
#include "archive/LzhExtraction.h"
#include "archive/LzhOpenedArchive.h"
#include "util/FileWriting.h"
#include "util/SjisText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace lzh {

namespace {

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

QString describe(const QString& archivePath, const QString& text)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(archivePath), text);
}

std::string nativePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The reading core writes its messages in UTF-8.
QString fromCore(const std::string& text)
{
    return QString::fromStdString(text);
}

QByteArray rawBytes(std::span<const uint8_t> bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

bool openArchive(OpenedArchive& archive, const QString& archivePath, QString* error)
{
    std::string problem;
    if (archive.open(nativePath(archivePath), &problem))
        return true;
    return fail(error, fromCore(problem));
}

// Member names compare as on Windows: without regard to case.
qsizetype indexOfName(const QStringList& names, const QString& name)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// One packed member: its level-2 header and data.
bool encodeMember(const QString& path, QByteArray& member, QString* error)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (const auto bad = sjis::findUnencodable(name))
        return fail(error, QStringLiteral("%1: %2").arg(name, sjis::unencodableMessage(*bad)));
    // Header sizes are 32-bit: larger files are refused before anything is read.
    if (uint64_t(info.size()) > 0xFFFFFFFFull)
        return fail(error, QStringLiteral("%1 is too large for an LZH archive").arg(QDir::toNativeSeparators(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("cannot read %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError || content.size() != info.size())
        return fail(error, QStringLiteral("cannot read %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));

    MemberHeader header;
    header.name = sjis::encode(name).toStdString();
    header.originalSize = uint64_t(content.size());
    header.modified = info.lastModified().toSecsSinceEpoch();
    header.dataCrc = Crc16::of(content.constData(), size_t(content.size()));
    const auto* bytes = reinterpret_cast<const uint8_t*>(content.constData());
    const auto compressed = encodeLh5(bytes, size_t(content.size()));
    QByteArray data;
    if (compressed) {
        header.method = "-lh5-";
        data = QByteArray(reinterpret_cast<const char*>(compressed->data()), qsizetype(compressed->size()));
    } else {
        header.method = "-lh0-";
        data = content;
    }
    header.compressedSize = uint64_t(data.size());
    member = QByteArray::fromStdString(writeLevel2Header(header)) + data;
    return true;
}

// Writes the members and the end mark, replacing the archive only when everything was written.
bool writeArchive(const QString& archivePath, const QList<QByteArray>& members, QString* error)
{
    QSaveFile out(archivePath);
    // Unbuffered: each write reaches the system, which tells why one fails.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(error, describe(archivePath, QStringLiteral("cannot write the archive: %1").arg(out.errorString())));
    for (const QByteArray& member : members) {
        if (!filewriting::writeAll(&out, member)) {
            out.cancelWriting();
            return fail(error, describe(archivePath, QStringLiteral("cannot write the archive: %1").arg(out.errorString())));
        }
    }
    if (!filewriting::writeAll(&out, "\0", 1) || !out.commit())
        return fail(error, describe(archivePath, QStringLiteral("cannot write the archive: %1").arg(out.errorString())));
    return true;
}

} // namespace

bool matchesAny(const QString& name, const QStringList& patterns)
{
    if (patterns.isEmpty())
        return true;
    for (const QString& pattern : patterns) {
        // "*.*" means every file, with or without an extension.
        const QString wildcard = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
        const QRegularExpression expression(QRegularExpression::wildcardToRegularExpression(wildcard),
                                            QRegularExpression::CaseInsensitiveOption);
        if (expression.match(name).hasMatch())
            return true;
    }
    return false;
}

bool listArchive(const QString& archivePath, QList<MemberEntry>& members, QString* error)
{
    OpenedArchive archive;
    if (!openArchive(archive, archivePath, error))
        return false;
    members.clear();
    for (const ArchiveMember& member : archive.members())
        members.append({member.header, QString::fromStdString(member.name), qint64(member.headerOffset), qint64(member.dataOffset)});
    return true;
}

bool beginsAsArchive(const QString& archivePath)
{
    QFile file(archivePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The first header lies within the first 256 KiB; the rest of the file does not decide.
    const QByteArray head = file.read(320 * 1024);
    ArchiveReader reader(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(head.constData()), size_t(head.size())));
    return reader.start(nullptr);
}

bool testArchive(const QString& archivePath, QStringList* problems, QString* error)
{
    std::vector<std::string> found;
    std::string problem;
    const bool ok = testMembers(nativePath(archivePath), &found, &problem);
    if (problems) {
        for (const std::string& line : found)
            problems->append(fromCore(line));
    }
    return ok || fail(error, fromCore(problem));
}

bool extractArchive(const QString& archivePath, const QString& folder, const QStringList& patterns,
                    QStringList* written, QString* error)
{
    return extractWithinLimits(archivePath, folder, [&](const QString& name) {
        return matchesAny(name, patterns) ? qint64(kGeneralMemberLimit) : qint64(-1);
    }, written, error);
}

bool extractWithinLimits(const QString& archivePath, const QString& folder, const std::function<qint64(const QString& name)>& limit,
                         QStringList* written, QString* error)
{
    const NameFilter chosen = [&](const std::string& name) { return limit(QString::fromStdString(name)) >= 0; };
    const SizeLimit most = [&](const std::string& name) { return uint64_t(std::max<qint64>(0, limit(QString::fromStdString(name)))); };
    std::vector<std::string> names;
    std::string problem;
    const bool ok = extractMembers(nativePath(archivePath), nativePath(folder), chosen, most, &names, &problem);
    if (written) {
        for (const std::string& name : names)
            written->append(QString::fromStdString(name));
    }
    return ok || fail(error, fromCore(problem));
}

bool packFiles(const QString& archivePath, const QStringList& files, QString* error)
{
    // New members in the order given; a later file of the same name wins.
    QList<QByteArray> added;
    QStringList addedNames;
    for (const QString& path : files) {
        QByteArray member;
        if (!encodeMember(path, member, error))
            return false;
        const QString name = QFileInfo(path).fileName();
        const qsizetype previous = indexOfName(addedNames, name);
        if (previous >= 0) {
            added[previous] = member;
        } else {
            added.append(member);
            addedNames.append(name);
        }
    }

    // Existing members stay in place; one with the name of a packed file is replaced where it stood.
    QList<QByteArray> members;
    if (QFileInfo::exists(archivePath)) {
        OpenedArchive archive;
        if (!openArchive(archive, archivePath, error))
            return false;
        for (const ArchiveMember& entry : archive.members()) {
            const qsizetype replaced = indexOfName(addedNames, QString::fromStdString(entry.name));
            if (replaced < 0) {
                members.append(rawBytes(archive.rawMember(entry)));
            } else if (!added[replaced].isNull()) {
                members.append(added[replaced]);
                added[replaced] = QByteArray();
            }
        }
    }
    for (const QByteArray& member : added) {
        if (!member.isNull())
            members.append(member);
    }
    return writeArchive(archivePath, members, error);
}

bool deleteMembers(const QString& archivePath, const QStringList& patterns, int* removed, QString* error)
{
    QList<QByteArray> kept;
    int count = 0;
    {
        OpenedArchive archive;
        if (!openArchive(archive, archivePath, error))
            return false;
        for (const ArchiveMember& entry : archive.members()) {
            if (matchesAny(QString::fromStdString(entry.name), patterns))
                ++count;
            else
                kept.append(rawBytes(archive.rawMember(entry)));
        }
    }
    if (removed)
        *removed = count;
    return count == 0 || writeArchive(archivePath, kept, error);
}

} // namespace lzh
