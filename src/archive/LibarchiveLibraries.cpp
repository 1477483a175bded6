#include "archive/LibarchiveLibraries.h"

#include "archive/ExtractedFile.h"
#include "archive/LzhArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <archive.h>
#include <archive_entry.h>

#include <memory>
#include <set>

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

QString errorOf(archive* a)
{
    const char* text = archive_error_string(a);
    return text ? QString::fromUtf8(text) : QStringLiteral("unknown error");
}

// The current member's data, sparse gaps as zeros, into the sink.
bool readMemberData(archive* reader, const extraction::ByteSink& sink, std::string* problem)
{
    static const std::vector<uint8_t> zeros(64 * 1024);
    const void* block;
    size_t size;
    la_int64_t offset;
    la_int64_t written = 0;
    int status;
    while ((status = archive_read_data_block(reader, &block, &size, &offset)) == ARCHIVE_OK) {
        for (; written < offset; written += la_int64_t(std::min<size_t>(zeros.size(), size_t(offset - written)))) {
            if (!sink(zeros.data(), std::min<size_t>(zeros.size(), size_t(offset - written))))
                return false;
        }
        if (!sink(static_cast<const uint8_t*>(block), size))
            return false;
        written += la_int64_t(size);
    }
    if (status == ARCHIVE_EOF)
        return true;
    *problem = errorOf(reader).toStdString();
    return false;
}

// Writes the regular files of the archive into the folder through the shared member writer: by bare
// name when flat, else under their folders. Links and devices are never made, and a name that is
// absolute or holds ".." is refused, so nothing lands outside the folder.
int extract(const CommandLine& command, Format format, bool flat, char* output, quint32 outputSize)
{
    ReadArchive reader = openForReading(command.archive, format);
    if (!reader)
        return reportResult(kResultBadArchive, QStringLiteral("cannot open %1").arg(command.archive), output, outputSize);
    const QString folder = command.folder.isEmpty() ? QDir::currentPath() : command.folder;
    const std::string folderBytes = QFile::encodeName(folder).toStdString();
    if (!extraction::makeFolder(folderBytes))
        return reportResult(kResultWriteFailed, QStringLiteral("cannot create %1").arg(folder), output, outputSize);
    extraction::Budget budget;
    std::set<std::string> extracted;
    QStringList problems;
    archive_entry* entry = nullptr;
    int status;
    while ((status = archive_read_next_header(reader.get(), &entry)) == ARCHIVE_OK) {
        const char* storedName = archive_entry_pathname_utf8(entry);
        const QString stored = QString::fromUtf8(storedName ? storedName : "");
        const std::string name = extraction::bareName(stored.toStdString());
        if (!lzh::matchesAny(QString::fromStdString(name), command.files))
            continue;
        if (archive_entry_filetype(entry) == AE_IFDIR)
            continue;
        if (archive_entry_filetype(entry) != AE_IFREG || archive_entry_hardlink(entry) || archive_entry_symlink(entry)) {
            problems.append(stored + QStringLiteral(": links and special files are not extracted"));
            continue;
        }
        const std::string relative = flat ? name : extraction::relativeMemberPath(stored.toStdString());
        if (name.empty() || relative.empty()) {
            problems.append(stored + QStringLiteral(": the member has no usable file name"));
            continue;
        }
        if (!extracted.insert(relative).second) {
            problems.append(stored + QStringLiteral(": another member was already extracted as %1; this one was not")
                                         .arg(QString::fromStdString(relative)));
            continue;
        }
        const std::string subfolder = relative.size() > name.size() ? relative.substr(0, relative.size() - name.size() - 1) : "";
        std::string problem;
        const extraction::ByteSource source = [&reader](const extraction::ByteSink& sink, std::string* why) {
            return readMemberData(reader.get(), sink, why);
        };
        if (!extraction::makeSubfolders(folderBytes, subfolder, &problem)
            || !extraction::writeMemberFile(subfolder.empty() ? folderBytes : folderBytes + '/' + subfolder, name,
                                            archive_entry_mtime_is_set(entry) ? int64_t(archive_entry_mtime(entry)) : -1, source,
                                            budget, &problem))
            problems.append(QString::fromStdString(problem));
    }
    if (status != ARCHIVE_EOF)
        problems.append(errorOf(reader.get()));
    if (!problems.isEmpty())
        return reportResult(kResultBadArchive, command.archive + QStringLiteral(": ") + problems.join(QStringLiteral("; ")), output,
                            outputSize);
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
        if (size_t(members.size()) > extraction::kMaxMembers)
            return nullptr;
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

} // namespace

std::vector<Library> makeLibarchiveLibraries()
{
    std::vector<Library> libraries;
    libraries.emplace_back(QStringLiteral("UNZIP32.DLL"),
                           listingLibraryEntries(QStringLiteral("UnZip"), &zipOpenArchive,
                                                 {{QStringLiteral("UnZip"), reinterpret_cast<void*>(&zipExtractCommand)}}));
    libraries.emplace_back(QStringLiteral("LMZIP32.DLL"),
                           listingLibraryEntries(QStringLiteral("Unzip"), &zipOpenArchive,
                                                 {{QStringLiteral("Unzip"), reinterpret_cast<void*>(&zipExtractCommand)},
                                                  {QStringLiteral("Zip"), reinterpret_cast<void*>(&zipPackCommand)}}));
    libraries.emplace_back(QStringLiteral("CAB32.DLL"),
                           listingLibraryEntries(QStringLiteral("Cab"), &cabOpenArchive,
                                                 {{QStringLiteral("Cab"), reinterpret_cast<void*>(&cabCommand)}}));
    libraries.emplace_back(QStringLiteral("tar32.dll"),
                           listingLibraryEntries(QStringLiteral("Tar"), &tarOpenArchive,
                                                 {{QStringLiteral("Tar"), reinterpret_cast<void*>(&tarCommand)}}));
    return libraries;
}

} // namespace archiver
