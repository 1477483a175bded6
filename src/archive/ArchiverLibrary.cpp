#include "archive/ArchiverLibrary.h"

#include "archive/ArjLibrary.h"
#include "archive/LhaLibrary.h"
#include "archive/LibarchiveLibraries.h"
#include "archive/LzhArchive.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <memory>

namespace archiver {

namespace {

struct RegisteredLibrary
{
    std::unique_ptr<Library> library;
    bool available = true;
};

std::vector<RegisteredLibrary>& registry()
{
    static std::vector<RegisteredLibrary> libraries = [] {
        std::vector<RegisteredLibrary> all;
        all.push_back({std::make_unique<Library>(makeLhaLibrary()), true});
        all.push_back({std::make_unique<Library>(makeArjLibrary()), true});
        for (Library& library : makeLibarchiveLibraries())
            all.push_back({std::make_unique<Library>(std::move(library)), true});
        return all;
    }();
    return libraries;
}

RegisteredLibrary* findRegistered(const QString& fileName)
{
    for (RegisteredLibrary& registered : registry()) {
        if (registered.library->fileName().compare(fileName, Qt::CaseInsensitive) == 0)
            return &registered;
    }
    return nullptr;
}

struct Listing
{
    QList<IndividualInfo> members;
    QString wildcard;
    qsizetype next = 0;
};

int nextInListing(Listing* listing, IndividualInfo* info)
{
    while (listing->next < listing->members.size()) {
        const IndividualInfo& member = listing->members[listing->next++];
        const QString name = QFileInfo(member.fileName).fileName();
        if (listing->wildcard.isEmpty() || lzh::matchesAny(name, {listing->wildcard})) {
            if (info)
                *info = member;
            return 0;
        }
    }
    return -1;
}

} // namespace

Library::Library(QString fileName, std::vector<EntryPoint> entries)
    : m_fileName(std::move(fileName))
    , m_entries(std::move(entries))
{
}

void* Library::entry(const QString& name) const
{
    for (const EntryPoint& entry : m_entries) {
        if (entry.name == name)
            return entry.function;
    }
    return nullptr;
}

const Library* loadLibrary(const QString& fileName)
{
    const RegisteredLibrary* registered = findRegistered(fileName);
    return registered && registered->available ? registered->library.get() : nullptr;
}

void setLibraryAvailable(const QString& fileName, bool available)
{
    if (RegisteredLibrary* registered = findRegistered(fileName))
        registered->available = available;
}

CommandLine parseCommandLine(const char* text)
{
    QStringList words;
    const QString line = QString::fromUtf8(text ? text : "");
    qsizetype i = 0;
    while (i < line.size()) {
        if (line[i].isSpace()) {
            ++i;
            continue;
        }
        QString word;
        if (line[i] == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? line.size() : close;
            word = line.mid(i + 1, end - i - 1);
            i = end + 1;
        } else {
            qsizetype end = i;
            while (end < line.size() && !line[end].isSpace())
                ++end;
            word = line.mid(i, end - i);
            i = end;
        }
        if (!word.isEmpty())
            words.append(word);
    }

    CommandLine command;
    if (words.isEmpty())
        return command;
    command.command = words.takeFirst();
    for (const QString& word : words) {
        if (word.startsWith(QLatin1Char('-')))
            command.switches.append(word);
        else if (command.archive.isEmpty())
            command.archive = word;
        else if (word.endsWith(QLatin1Char('\\')))
            command.folder = word.chopped(1);
        else
            command.files.append(word);
    }
    return command;
}

int reportResult(int code, const QString& message, char* output, quint32 outputSize)
{
    if (output && outputSize > 0) {
        const QByteArray bytes = message.toUtf8();
        const size_t length = std::min<size_t>(size_t(bytes.size()), outputSize - 1);
        std::memcpy(output, bytes.constData(), length);
        output[length] = '\0';
    }
    return code;
}

QStringList expandFilePatterns(const QStringList& patterns, const QString& baseFolder)
{
    QStringList files;
    for (const QString& pattern : patterns) {
        const QString path = baseFolder.isEmpty() ? pattern : QDir(baseFolder).filePath(pattern);
        const QFileInfo info(path);
        const QString name = info.fileName();
        if (!name.contains(QLatin1Char('*')) && !name.contains(QLatin1Char('?'))) {
            if (info.isFile())
                files.append(info.absoluteFilePath());
            continue;
        }
        const QDir folder = info.absoluteDir();
        const QString filter = name == QLatin1String("*.*") ? QStringLiteral("*") : name;
        for (const QString& found : folder.entryList({filter}, QDir::Files | QDir::Hidden, QDir::Name))
            files.append(folder.filePath(found));
    }
    return files;
}

ArchiveHandle openListing(QList<IndividualInfo> members)
{
    auto* listing = new Listing;
    listing->members = std::move(members);
    return listing;
}

int closeListing(ArchiveHandle archive)
{
    delete static_cast<Listing*>(archive);
    return 0;
}

int findFirstInListing(ArchiveHandle archive, const char* wildcard, IndividualInfo* info)
{
    if (!archive)
        return -1;
    auto* listing = static_cast<Listing*>(archive);
    const QString pattern = QString::fromUtf8(wildcard ? wildcard : "");
    listing->wildcard = pattern == QLatin1String("*") || pattern == QLatin1String("*.*") ? QString() : pattern;
    listing->next = 0;
    return nextInListing(listing, info);
}

int findNextInListing(ArchiveHandle archive, IndividualInfo* info)
{
    return archive ? nextInListing(static_cast<Listing*>(archive), info) : -1;
}

std::vector<EntryPoint> listingLibraryEntries(const QString& prefix, OpenArchiveEntry open,
                                              std::initializer_list<EntryPoint> commands)
{
    std::vector<EntryPoint> entries{
        {prefix + QStringLiteral("OpenArchive"), reinterpret_cast<void*>(open)},
        {prefix + QStringLiteral("CloseArchive"), reinterpret_cast<void*>(&closeListing)},
        {prefix + QStringLiteral("FindFirst"), reinterpret_cast<void*>(&findFirstInListing)},
        {prefix + QStringLiteral("FindNext"), reinterpret_cast<void*>(&findNextInListing)},
    };
    entries.insert(entries.end(), commands.begin(), commands.end());
    return entries;
}

quint16 ratioPerMille(quint64 originalSize, quint64 compressedSize)
{
    return originalSize ? quint16(std::min<quint64>(1000, compressedSize * 1000 / originalSize)) : 0;
}

} // namespace archiver
