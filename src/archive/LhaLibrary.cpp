#include "archive/LhaLibrary.h"

#include "archive/LzhArchive.h"

#include <QDir>

namespace archiver {

namespace {

int extract(const CommandLine& command, char* output, quint32 outputSize)
{
    const QString folder = command.folder.isEmpty() ? QDir::currentPath() : command.folder;
    QString error;
    if (!lzh::extractArchive(command.archive, folder, command.files, nullptr, &error))
        return reportResult(kResultBadArchive, error, output, outputSize);
    return reportResult(kResultOk, QString(), output, outputSize);
}

int pack(const CommandLine& command, char* output, quint32 outputSize)
{
    const QStringList files = expandFilePatterns(command.files, command.folder);
    if (files.isEmpty())
        return reportResult(kResultNoFile, QStringLiteral("no file matches the patterns"), output, outputSize);
    QString error;
    if (!lzh::packFiles(command.archive, files, &error))
        return reportResult(kResultWriteFailed, error, output, outputSize);
    return reportResult(kResultOk, QString(), output, outputSize);
}

int remove(const CommandLine& command, char* output, quint32 outputSize)
{
    if (command.files.isEmpty())
        return reportResult(kResultNoFile, QStringLiteral("no member named"), output, outputSize);
    int removed = 0;
    QString error;
    if (!lzh::deleteMembers(command.archive, command.files, &removed, &error))
        return reportResult(kResultWriteFailed, error, output, outputSize);
    if (removed == 0)
        return reportResult(kResultNoFile, QStringLiteral("no member matches the names"), output, outputSize);
    return reportResult(kResultOk, QString(), output, outputSize);
}

int Unlha(QObject*, const char* commandLine, char* output, quint32 outputSize)
{
    const CommandLine command = parseCommandLine(commandLine);
    if (command.archive.isEmpty())
        return reportResult(kResultBadCommand, QStringLiteral("no archive named"), output, outputSize);
    const QString verb = command.command.toLower();
    if (verb == QLatin1String("x") || verb == QLatin1String("e"))
        return extract(command, output, outputSize);
    if (verb == QLatin1String("u") || verb == QLatin1String("a"))
        return pack(command, output, outputSize);
    if (verb == QLatin1String("d"))
        return remove(command, output, outputSize);
    if (verb == QLatin1String("s"))
        return reportResult(kResultNotSupported, QStringLiteral("self-extracting archives are not offered"), output, outputSize);
    return reportResult(kResultBadCommand, QStringLiteral("unknown command %1").arg(command.command), output, outputSize);
}

ArchiveHandle UnlhaOpenArchive(QObject*, const char* archivePath, quint32)
{
    QList<lzh::MemberEntry> members;
    if (!lzh::listArchive(QString::fromUtf8(archivePath), members, nullptr))
        return nullptr;
    QList<IndividualInfo> infos;
    for (const lzh::MemberEntry& entry : members) {
        IndividualInfo info;
        info.originalSize = entry.header.originalSize;
        info.compressedSize = entry.header.compressedSize;
        info.crc = entry.header.dataCrc;
        info.modified = entry.header.modified;
        info.ratio = ratioPerMille(info.originalSize, info.compressedSize);
        info.method = QString::fromLatin1(entry.header.method.data(), qsizetype(entry.header.method.size()));
        info.fileName = entry.name;
        infos.append(info);
    }
    return openListing(infos);
}

} // namespace

Library makeLhaLibrary()
{
    return Library(QStringLiteral("UNLHA32.DLL"),
                   listingLibraryEntries(QStringLiteral("Unlha"), &UnlhaOpenArchive,
                                         {{QStringLiteral("Unlha"), reinterpret_cast<void*>(&Unlha)}}));
}

} // namespace archiver
