#include "archive/Archiver.h"

namespace {
constexpr qsizetype kLibraryPathLimit = 257;
}

bool Refuse(ArchiverError& error, const QString& message)
{
    error.Message = message;
    return false;
}

void* GetEntry(const archiver::Library* library, const QString& entryName, ArchiverError& error)
{
    void* entry = library->entry(entryName);
    if (!entry)
        Refuse(error, library->fileName().left(kLibraryPathLimit) + QStringLiteral(" に ") + entryName
                          + QStringLiteral(" のエントリが見つかりません。"));
    return entry;
}

void* Archiver::ListingEntry(const QString&, ArchiverError&) const
{
    return nullptr;
}

archiver::ArchiveHandle Archiver::OpenArchive(QObject* window, const QString& archiveName, quint32 mode, ArchiverError& error)
{
    auto open = reinterpret_cast<archiver::OpenArchiveEntry>(ListingEntry(QStringLiteral("OpenArchive"), error));
    return open ? open(window, archiveName.toUtf8().constData(), mode) : nullptr;
}

bool Archiver::CloseArchive(archiver::ArchiveHandle handle, ArchiverError& error)
{
    auto close = reinterpret_cast<archiver::CloseArchiveEntry>(ListingEntry(QStringLiteral("CloseArchive"), error));
    return close && close(handle) == 0;
}

int Archiver::FindFirst(archiver::ArchiveHandle handle, const QString& wildcard, archiver::IndividualInfo* info,
                         ArchiverError& error)
{
    auto first = reinterpret_cast<archiver::FindFirstEntry>(ListingEntry(QStringLiteral("FindFirst"), error));
    return first ? first(handle, wildcard.toUtf8().constData(), info) : -1;
}

int Archiver::FindNext(archiver::ArchiveHandle handle, archiver::IndividualInfo* info, ArchiverError& error)
{
    auto next = reinterpret_cast<archiver::FindNextEntry>(ListingEntry(QStringLiteral("FindNext"), error));
    return next ? next(handle, info) : -1;
}

bool Archiver::Delete(QObject*, const QString&, const QStringList*, const QString&, const ArchiverOptions&, int&,
                       ArchiverError& error)
{
    return Refuse(error, QStringLiteral("この形式の書庫ではファイルの削除をサポートしておりません。"));
}

bool Archiver::RunCommand(const archiver::Library* library, const QString& entryName, QObject* window, int& result,
                           ArchiverError& error)
{
    auto command = reinterpret_cast<archiver::CommandEntry>(GetEntry(library, entryName, error));
    if (!command)
        return false;
    result = CallCommand(command, window);
    return true;
}

int Archiver::CallCommand(archiver::CommandEntry command, QObject* window)
{
    QByteArray output(kOutputSize, '\0');
    const int result = command(window, CommandLine.toUtf8().constData(), output.data(), quint32(output.size()));
    Output = QString::fromUtf8(output.constData());
    return result;
}
