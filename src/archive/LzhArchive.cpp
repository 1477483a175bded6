#include "archive/LzhArchive.h"

#include "archive/LzhCrc16.h"
#include "archive/LzhEncoder.h"
#include "archive/LzhReader.h"
#include "util/SjisText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryFile>

#include <filesystem>

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

// An archive opened for reading, with the headers of all its members read.
class OpenedArchive
{
public:
    explicit OpenedArchive(const QString& path)
        : m_file(path)
        , m_reader(&m_file)
    {
    }

    // Fails on an archive that cannot be opened or whose headers cannot all be read.
    bool open(QString* error)
    {
        if (!m_file.open(QIODevice::ReadOnly))
            return fail(error, describe(m_file.fileName(), QStringLiteral("cannot open the archive: %1").arg(m_file.errorString())));
        QString problem;
        if (!m_reader.start(&problem))
            return fail(error, describe(m_file.fileName(), problem));
        for (;;) {
            MemberEntry entry;
            const HeaderStatus status = m_reader.next(entry, &problem);
            if (status == HeaderStatus::End)
                return true;
            if (status == HeaderStatus::Error)
                return fail(error, describe(m_file.fileName(), problem));
            m_members.append(entry);
        }
    }

    const QList<MemberEntry>& members() const { return m_members; }
    ArchiveReader& reader() { return m_reader; }

    // The raw bytes of a member (header and data), copied unchanged when an archive is rewritten.
    QByteArray rawMember(const MemberEntry& entry)
    {
        m_file.seek(entry.headerOffset);
        return m_file.read(entry.dataOffset + qint64(entry.header.compressedSize) - entry.headerOffset);
    }

private:
    QFile m_file;
    ArchiveReader m_reader;
    QList<MemberEntry> m_members;
};

// Member names compare as on Windows: without regard to case.
qsizetype indexOfName(const QStringList& names, const QString& name)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString memberLabel(const MemberEntry& entry)
{
    return entry.name.isEmpty() ? sjis::decode(entry.header.name) : entry.name;
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
    header.name = sjis::encode(name);
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
    member = writeLevel2Header(header) + data;
    return true;
}

// Writes the members and the end mark, replacing the archive only when everything was written.
bool writeArchive(const QString& archivePath, const QList<QByteArray>& members, QString* error)
{
    QSaveFile out(archivePath);
    if (!out.open(QIODevice::WriteOnly))
        return fail(error, describe(archivePath, QStringLiteral("cannot write the archive: %1").arg(out.errorString())));
    for (const QByteArray& member : members) {
        if (out.write(member) != member.size()) {
            out.cancelWriting();
            return fail(error, describe(archivePath, QStringLiteral("cannot write the archive: %1").arg(out.errorString())));
        }
    }
    out.write("\0", 1);
    if (!out.commit())
        return fail(error, describe(archivePath, QStringLiteral("cannot write the archive: %1").arg(out.errorString())));
    return true;
}

// Writes one member into the folder through a temporary file there that takes the member's name
// only when its data decoded completely with the right CRC. The rename replaces a file or link of
// that name without following it.
bool extractMember(ArchiveReader& reader, const MemberEntry& entry, const QString& folder, QString* error)
{
    const QString target = QDir(folder).filePath(entry.name);
    const QFileInfo targetInfo(target);
    if (targetInfo.isDir() && !targetInfo.isSymLink())
        return fail(error, QStringLiteral("%1: a folder of that name exists").arg(entry.name));
    QTemporaryFile out(QDir(folder).filePath(QStringLiteral(".extracting-XXXXXX")));
    if (!out.open())
        return fail(error, QStringLiteral("%1: cannot write: %2").arg(entry.name, out.errorString()));
    const ByteSink sink = [&](const uint8_t* data, size_t size) {
        return out.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
    };
    QString problem;
    if (!reader.readData(entry, sink, &problem))
        return fail(error, QStringLiteral("%1: %2").arg(entry.name, problem));
    // The stamp goes on after the last buffered bytes, whose write would otherwise replace it.
    if (!out.flush())
        return fail(error, QStringLiteral("%1: cannot write: %2").arg(entry.name, out.errorString()));
    out.setFileTime(QDateTime::fromSecsSinceEpoch(entry.header.modified), QFileDevice::FileModificationTime);
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    std::error_code renameError;
    std::filesystem::rename(QFile::encodeName(out.fileName()).toStdString(), QFile::encodeName(target).toStdString(), renameError);
    if (renameError)
        return fail(error, QStringLiteral("%1: cannot write: %2").arg(entry.name, QString::fromStdString(renameError.message())));
    out.setAutoRemove(false);
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
    OpenedArchive archive(archivePath);
    if (!archive.open(error))
        return false;
    members = archive.members();
    return true;
}

bool testArchive(const QString& archivePath, QStringList* problems, QString* error)
{
    OpenedArchive archive(archivePath);
    if (!archive.open(error))
        return false;
    bool ok = true;
    for (const MemberEntry& entry : archive.members()) {
        QString problem;
        if (!archive.reader().readData(entry, [](const uint8_t*, size_t) { return true; }, &problem)) {
            ok = false;
            if (problems)
                problems->append(QStringLiteral("%1: %2").arg(memberLabel(entry), problem));
        }
    }
    if (!ok)
        fail(error, describe(archivePath, QStringLiteral("damaged members")));
    return ok;
}

bool extractArchive(const QString& archivePath, const QString& folder, const QStringList& patterns,
                    QStringList* written, QString* error)
{
    OpenedArchive archive(archivePath);
    if (!archive.open(error))
        return false;
    if (!QDir().mkpath(folder))
        return fail(error, QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder)));
    QStringList problems;
    QSet<QString> extracted; // names taken by earlier members: members of different folders may share one
    for (const MemberEntry& entry : archive.members()) {
        if (entry.header.isDirectory() || !matchesAny(entry.name, patterns))
            continue;
        if (entry.name.isEmpty()) {
            problems.append(QStringLiteral("%1: the member has no usable file name").arg(memberLabel(entry)));
            continue;
        }
        if (extracted.contains(entry.name)) {
            problems.append(QStringLiteral("%1: another member was already extracted as %2; this one was not")
                                .arg(sjis::decode(entry.header.name), entry.name));
            continue;
        }
        extracted.insert(entry.name);
        QString problem;
        if (extractMember(archive.reader(), entry, folder, &problem)) {
            if (written)
                written->append(entry.name);
        } else {
            problems.append(problem);
        }
    }
    if (!problems.isEmpty())
        return fail(error, describe(archivePath, problems.join(QStringLiteral("; "))));
    return true;
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
        OpenedArchive archive(archivePath);
        if (!archive.open(error))
            return false;
        for (const MemberEntry& entry : archive.members()) {
            const qsizetype replaced = indexOfName(addedNames, entry.name);
            if (replaced < 0) {
                members.append(archive.rawMember(entry));
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
        OpenedArchive archive(archivePath);
        if (!archive.open(error))
            return false;
        for (const MemberEntry& entry : archive.members()) {
            if (matchesAny(entry.name, patterns))
                ++count;
            else
                kept.append(archive.rawMember(entry));
        }
    }
    if (removed)
        *removed = count;
    return count == 0 || writeArchive(archivePath, kept, error);
}

} // namespace lzh
