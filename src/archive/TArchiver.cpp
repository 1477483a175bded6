#include "archive/TArchiver.h"

namespace {
constexpr qsizetype kLibraryPathLimit = 257;
}

bool Refuse(EArchiver& error, const QString& message)
{
    error.Message = message;
    return false;
}

void* GetEntry(const archiver::Library* library, const QString& entryName, EArchiver& error)
{
    void* entry = library->entry(entryName);
    if (!entry)
        Refuse(error, library->fileName().left(kLibraryPathLimit) + QStringLiteral(" に ") + entryName
                          + QStringLiteral(" のエントリが見つかりません。"));
    return entry;
}

void* TArchiver::ListingEntry(const QString&, EArchiver&) const
{
    return nullptr;
}

archiver::ArchiveHandle TArchiver::OpenArchive(QObject* window, const QString& archiveName, quint32 mode, EArchiver& error)
{
    auto open = reinterpret_cast<archiver::OpenArchiveEntry>(ListingEntry(QStringLiteral("OpenArchive"), error));
    return open ? open(window, archiveName.toUtf8().constData(), mode) : nullptr;
}

bool TArchiver::CloseArchive(archiver::ArchiveHandle handle, EArchiver& error)
{
    auto close = reinterpret_cast<archiver::CloseArchiveEntry>(ListingEntry(QStringLiteral("CloseArchive"), error));
    return close && close(handle) == 0;
}

int TArchiver::FindFirst(archiver::ArchiveHandle handle, const QString& wildcard, archiver::IndividualInfo* info,
                         EArchiver& error)
{
    auto first = reinterpret_cast<archiver::FindFirstEntry>(ListingEntry(QStringLiteral("FindFirst"), error));
    return first ? first(handle, wildcard.toUtf8().constData(), info) : -1;
}

int TArchiver::FindNext(archiver::ArchiveHandle handle, archiver::IndividualInfo* info, EArchiver& error)
{
    auto next = reinterpret_cast<archiver::FindNextEntry>(ListingEntry(QStringLiteral("FindNext"), error));
    return next ? next(handle, info) : -1;
}

bool TArchiver::Delete(QObject*, const QString&, const QStringList*, const QString&, const TArchiverOptions&, int&,
                       EArchiver& error)
{
    return Refuse(error, QStringLiteral("この形式の書庫ではファイルの削除をサポートしておりません。"));
}

bool TArchiver::RunCommand(const archiver::Library* library, const QString& entryName, QObject* window, int& result,
                           EArchiver& error)
{
    auto command = reinterpret_cast<archiver::CommandEntry>(GetEntry(library, entryName, error));
    if (!command)
        return false;
    result = command(window, CommandLine.toUtf8().constData(), nullptr, 0);
    return true;
}
