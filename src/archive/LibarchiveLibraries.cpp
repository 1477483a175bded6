#include "archive/LibarchiveLibraries.h"

#include "archive/LzhArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace archiver {

namespace {

enum class Format { Zip, Cab, Tar };

using ReadArchive = std::unique_ptr<archive, decltype(&archive_read_free)>;
using WriteArchive = std::unique_ptr<archive, decltype(&archive_write_free)>;

ReadArchive openForReading(const QString& path, Format format)
{
    ReadArchive reader(archive_read_new(), &archive_read_free);
    switch (format) {
    case Format::Zip:
        archive_read_support_format_zip(reader.get());
        break;
    case Format::Cab:
        archive_read_support_format_cab(reader.get());
        break;
    case Format::Tar:
        archive_read_support_format_tar(reader.get());
        archive_read_support_format_gnutar(reader.get());
        archive_read_support_filter_all(reader.get());
        break;
    }
    if (archive_read_open_filename(reader.get(), QFile::encodeName(path).constData(), 64 * 1024) != ARCHIVE_OK)
        return ReadArchive(nullptr, &archive_read_free);
    return reader;
}

// The name a member is written under, relative to the target folder: its bare name when flat, else
// its path, refused (empty) when absolute or holding "..".
QString targetName(QString stored, bool flat)
{
    stored.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (flat) {
        const QString name = QFileInfo(stored).fileName();
        return name == QLatin1String("..") || name == QLatin1String(".") ? QString() : name;
    }
    const QStringList parts = stored.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (stored.startsWith(QLatin1Char('/')) || stored.contains(QLatin1Char(':')) || parts.contains(QStringLiteral("..")))
        return {};
    return parts.join(QLatin1Char('/'));
}

QString errorOf(archive* a)
{
    const char* text = archive_error_string(a);
    return text ? QString::fromUtf8(text) : QStringLiteral("unknown error");
}

// Writes the regular files of the archive into the folder: by bare name when flat, else under their
// folders. Names that are absolute or hold ".." never leave the folder.
int extract(const CommandLine& command, Format format, bool flat, char* output, quint32 outputSize)
{
    ReadArchive reader = openForReading(command.archive, format);
    if (!reader)
        return reportResult(kResultBadArchive, QStringLiteral("cannot open %1").arg(command.archive), output, outputSize);
    const QString folder = command.folder.isEmpty() ? QDir::currentPath() : command.folder;
    if (!QDir().mkpath(folder))
        return reportResult(kResultWriteFailed, QStringLiteral("cannot create %1").arg(folder), output, outputSize);
    WriteArchive disk(archive_write_disk_new(), &archive_write_free);
    archive_write_disk_set_options(disk.get(), ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_SECURE_NODOTDOT
                                                   | ARCHIVE_EXTRACT_SECURE_SYMLINKS);
    archive_entry* entry = nullptr;
    int status;
    while ((status = archive_read_next_header(reader.get(), &entry)) == ARCHIVE_OK) {
        if (archive_entry_filetype(entry) != AE_IFREG)
            continue;
        const QString stored = QString::fromUtf8(archive_entry_pathname_utf8(entry) ? archive_entry_pathname_utf8(entry) : "");
        const QString name = targetName(stored, flat);
        if (name.isEmpty() || !lzh::matchesAny(QFileInfo(name).fileName(), command.files))
            continue;
        archive_entry_set_pathname_utf8(entry, QDir(folder).filePath(name).toUtf8().constData());
        archive_entry_set_perm(entry, 0644);
        if (archive_write_header(disk.get(), entry) != ARCHIVE_OK)
            return reportResult(kResultWriteFailed, errorOf(disk.get()), output, outputSize);
        const void* block;
        size_t size;
        la_int64_t offset;
        while ((status = archive_read_data_block(reader.get(), &block, &size, &offset)) == ARCHIVE_OK) {
            if (archive_write_data_block(disk.get(), block, size, offset) != ARCHIVE_OK)
                return reportResult(kResultWriteFailed, errorOf(disk.get()), output, outputSize);
        }
        if (status != ARCHIVE_EOF)
            return reportResult(kResultBadArchive, errorOf(reader.get()), output, outputSize);
        archive_write_finish_entry(disk.get());
    }
    if (status != ARCHIVE_EOF)
        return reportResult(kResultBadArchive, errorOf(reader.get()), output, outputSize);
    return reportResult(kResultOk, QString(), output, outputSize);
}

// Packs the files under their bare names into a new archive, replaced only when complete.
int pack(const CommandLine& command, Format format, bool gzip, char* output, quint32 outputSize)
{
    const QStringList files = expandFilePatterns(command.files, command.folder);
    if (files.isEmpty())
        return reportResult(kResultNoFile, QStringLiteral("no file matches the patterns"), output, outputSize);
    QSaveFile target(command.archive);
    if (!target.open(QIODevice::WriteOnly))
        return reportResult(kResultWriteFailed, target.errorString(), output, outputSize);
    WriteArchive writer(archive_write_new(), &archive_write_free);
    if (format == Format::Zip) {
        archive_write_set_format_zip(writer.get());
    } else {
        archive_write_set_format_pax_restricted(writer.get());
        if (gzip)
            archive_write_add_filter_gzip(writer.get());
    }
    if (archive_write_open_fd(writer.get(), target.handle()) != ARCHIVE_OK)
        return reportResult(kResultWriteFailed, errorOf(writer.get()), output, outputSize);
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return reportResult(kResultWriteFailed, file.errorString(), output, outputSize);
        std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(), &archive_entry_free);
        archive_entry_set_pathname_utf8(entry.get(), QFileInfo(path).fileName().toUtf8().constData());
        archive_entry_set_size(entry.get(), file.size());
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        archive_entry_set_mtime(entry.get(), QFileInfo(path).lastModified().toSecsSinceEpoch(), 0);
        if (archive_write_header(writer.get(), entry.get()) != ARCHIVE_OK)
            return reportResult(kResultWriteFailed, errorOf(writer.get()), output, outputSize);
        while (!file.atEnd()) {
            const QByteArray chunk = file.read(64 * 1024);
            if (chunk.isEmpty() || archive_write_data(writer.get(), chunk.constData(), size_t(chunk.size())) < 0)
                return reportResult(kResultWriteFailed, errorOf(writer.get()), output, outputSize);
        }
    }
    if (archive_write_close(writer.get()) != ARCHIVE_OK || !target.commit())
        return reportResult(kResultWriteFailed, QStringLiteral("cannot write %1").arg(command.archive), output, outputSize);
    return reportResult(kResultOk, QString(), output, outputSize);
}

ArchiveHandle openListingOf(const char* archivePath, Format format)
{
    ReadArchive reader = openForReading(QString::fromUtf8(archivePath), format);
    if (!reader)
        return nullptr;
    QList<IndividualInfo> members;
    archive_entry* entry = nullptr;
    int status;
    while ((status = archive_read_next_header(reader.get(), &entry)) == ARCHIVE_OK) {
        IndividualInfo info;
        const char* name = archive_entry_pathname_utf8(entry);
        info.fileName = QString::fromUtf8(name ? name : "");
        info.originalSize = quint64(archive_entry_size(entry));
        info.modified = archive_entry_mtime(entry);
        info.method = QString::fromUtf8(archive_format_name(reader.get()));
        members.append(info);
        archive_read_data_skip(reader.get());
    }
    // Nothing readable at all means the file is not of this format.
    if (status != ARCHIVE_EOF && members.isEmpty())
        return nullptr;
    return openListing(members);
}

bool isPackCommand(const QString& verb, std::initializer_list<const char*> packVerbs)
{
    for (const char* candidate : packVerbs) {
        if (verb.compare(QLatin1String(candidate), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

int zipExtractCommand(QObject*, const char* commandLine, char* output, quint32 outputSize)
{
    const CommandLine command = parseCommandLine(commandLine);
    if (command.archive.isEmpty() || command.command.compare(QLatin1String("-x"), Qt::CaseInsensitive) != 0)
        return reportResult(kResultBadCommand, QStringLiteral("unknown command %1").arg(command.command), output, outputSize);
    return extract(command, Format::Zip, command.hasSwitch(QStringLiteral("-j")), output, outputSize);
}

int zipPackCommand(QObject*, const char* commandLine, char* output, quint32 outputSize)
{
    const CommandLine command = parseCommandLine(commandLine);
    if (command.archive.isEmpty() || !isPackCommand(command.command, {"-ru", "-r", "-u", "-a"}))
        return reportResult(kResultBadCommand, QStringLiteral("unknown command %1").arg(command.command), output, outputSize);
    return pack(command, Format::Zip, false, output, outputSize);
}

int cabCommand(QObject*, const char* commandLine, char* output, quint32 outputSize)
{
    const CommandLine command = parseCommandLine(commandLine);
    if (command.archive.isEmpty())
        return reportResult(kResultBadCommand, QStringLiteral("no archive named"), output, outputSize);
    if (command.command.compare(QLatin1String("-x"), Qt::CaseInsensitive) == 0)
        return extract(command, Format::Cab, command.hasSwitch(QStringLiteral("-j")), output, outputSize);
    if (isPackCommand(command.command, {"-a", "-f"}))
        return reportResult(kResultNotSupported, QStringLiteral("CAB archives cannot be written on this platform"), output, outputSize);
    return reportResult(kResultBadCommand, QStringLiteral("unknown command %1").arg(command.command), output, outputSize);
}

int tarCommand(QObject*, const char* commandLine, char* output, quint32 outputSize)
{
    const CommandLine command = parseCommandLine(commandLine);
    if (command.archive.isEmpty())
        return reportResult(kResultBadCommand, QStringLiteral("no archive named"), output, outputSize);
    const QString verb = command.command.startsWith(QLatin1Char('-')) ? command.command.mid(1) : command.command;
    if (verb.compare(QLatin1String("x"), Qt::CaseInsensitive) == 0)
        return extract(command, Format::Tar, command.hasSwitch(QStringLiteral("--use-directory=0")), output, outputSize);
    if (verb.compare(QLatin1String("c"), Qt::CaseInsensitive) == 0) {
        const bool gzip = std::any_of(command.switches.begin(), command.switches.end(),
                                      [](const QString& s) { return s.startsWith(QLatin1String("-z")); });
        return pack(command, Format::Tar, gzip, output, outputSize);
    }
    return reportResult(kResultBadCommand, QStringLiteral("unknown command %1").arg(command.command), output, outputSize);
}

ArchiveHandle zipOpenArchive(QObject*, const char* archivePath, quint32)
{
    return openListingOf(archivePath, Format::Zip);
}

ArchiveHandle cabOpenArchive(QObject*, const char* archivePath, quint32)
{
    return openListingOf(archivePath, Format::Cab);
}

ArchiveHandle tarOpenArchive(QObject*, const char* archivePath, quint32)
{
    return openListingOf(archivePath, Format::Tar);
}

std::vector<EntryPoint> listingEntries(const QString& prefix, OpenArchiveEntry open)
{
    return {
        {prefix + QStringLiteral("OpenArchive"), reinterpret_cast<void*>(open)},
        {prefix + QStringLiteral("CloseArchive"), reinterpret_cast<void*>(&closeListing)},
        {prefix + QStringLiteral("FindFirst"), reinterpret_cast<void*>(&findFirstInListing)},
        {prefix + QStringLiteral("FindNext"), reinterpret_cast<void*>(&findNextInListing)},
    };
}

std::vector<EntryPoint> withCommand(std::vector<EntryPoint> entries, std::initializer_list<EntryPoint> commands)
{
    entries.insert(entries.end(), commands.begin(), commands.end());
    return entries;
}

} // namespace

std::vector<Library> makeLibarchiveLibraries()
{
    std::vector<Library> libraries;
    libraries.emplace_back(QStringLiteral("UNZIP32.DLL"),
                           withCommand(listingEntries(QStringLiteral("UnZip"), &zipOpenArchive),
                                       {{QStringLiteral("UnZip"), reinterpret_cast<void*>(&zipExtractCommand)}}));
    libraries.emplace_back(QStringLiteral("LMZIP32.DLL"),
                           withCommand(listingEntries(QStringLiteral("Unzip"), &zipOpenArchive),
                                       {{QStringLiteral("Unzip"), reinterpret_cast<void*>(&zipExtractCommand)},
                                        {QStringLiteral("Zip"), reinterpret_cast<void*>(&zipPackCommand)}}));
    libraries.emplace_back(QStringLiteral("CAB32.DLL"),
                           withCommand(listingEntries(QStringLiteral("Cab"), &cabOpenArchive),
                                       {{QStringLiteral("Cab"), reinterpret_cast<void*>(&cabCommand)}}));
    libraries.emplace_back(QStringLiteral("tar32.dll"),
                           withCommand(listingEntries(QStringLiteral("Tar"), &tarOpenArchive),
                                       {{QStringLiteral("Tar"), reinterpret_cast<void*>(&tarCommand)}}));
    return libraries;
}

} // namespace archiver
