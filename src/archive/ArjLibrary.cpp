#include "archive/ArjLibrary.h"

#include "archive/ArjArchive.h"
#include "archive/LzhArchive.h"

#include <QDir>
#include <QFile>

namespace archiver {

namespace {

std::string pathBytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

int extract(const CommandLine& command, char* output, quint32 outputSize)
{
    const QString folder = command.folder.isEmpty() ? QDir::currentPath() : command.folder;
    const auto chosen = [&command](const std::string& name) {
        return lzh::matchesAny(QString::fromStdString(name), command.files);
    };
    std::string error;
    if (!arj::extractArchive(pathBytes(command.archive), pathBytes(folder), chosen, nullptr, &error))
        return reportResult(kResultBadArchive, QString::fromStdString(error), output, outputSize);
    return reportResult(kResultOk, QString(), output, outputSize);
}

int test(const CommandLine& command, char* output, quint32 outputSize)
{
    std::vector<std::string> problems;
    std::string error;
    if (arj::testArchive(pathBytes(command.archive), &problems, &error))
        return reportResult(kResultOk, QString(), output, outputSize);
    for (const std::string& problem : problems)
        error += "; " + problem;
    return reportResult(kResultBadArchive, QString::fromStdString(error), output, outputSize);
}

int Unarj(QObject*, const char* commandLine, char* output, quint32 outputSize)
{
    const CommandLine command = parseCommandLine(commandLine);
    if (command.archive.isEmpty())
        return reportResult(kResultBadCommand, QStringLiteral("no archive named"), output, outputSize);
    const QString verb = command.command.toLower();
    if (verb == QLatin1String("x") || verb == QLatin1String("e"))
        return extract(command, output, outputSize);
    if (verb == QLatin1String("t"))
        return test(command, output, outputSize);
    if (verb == QLatin1String("a") || verb == QLatin1String("u") || verb == QLatin1String("s"))
        return reportResult(kResultNotSupported, QStringLiteral("ARJ archives cannot be written"), output, outputSize);
    return reportResult(kResultBadCommand, QStringLiteral("unknown command %1").arg(command.command), output, outputSize);
}

ArchiveHandle UnarjOpenArchive(QObject*, const char* archivePath, quint32)
{
    arj::Archive archive;
    if (!archive.open(pathBytes(QString::fromUtf8(archivePath)), nullptr))
        return nullptr;
    QList<IndividualInfo> infos;
    for (const arj::Member& member : archive.members()) {
        IndividualInfo info;
        info.originalSize = member.originalSize;
        info.compressedSize = member.compressedSize;
        info.crc = member.crc;
        info.modified = member.modified;
        info.ratio = ratioPerMille(info.originalSize, info.compressedSize);
        info.method = member.fileType == 3 ? QStringLiteral("folder") : QStringLiteral("arj-m%1").arg(member.method);
        info.fileName = QString::fromStdString(member.storedName);
        infos.append(info);
    }
    return openListing(infos);
}

} // namespace

Library makeArjLibrary()
{
    return Library(QStringLiteral("UNARJ32J.DLL"),
                   listingLibraryEntries(QStringLiteral("Unarj"), &UnarjOpenArchive,
                                         {{QStringLiteral("Unarj"), reinterpret_cast<void*>(&Unarj)}}));
}

} // namespace archiver
