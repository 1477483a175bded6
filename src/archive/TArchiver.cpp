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

archiver::ArchiveHandle TArchiver::OpenArchive(QObject*, const QString&, quint32, EArchiver&)
{
    return nullptr;
}

bool TArchiver::CloseArchive(archiver::ArchiveHandle, EArchiver&)
{
    return true;
}

int TArchiver::FindFirst(archiver::ArchiveHandle, const QString&, archiver::IndividualInfo*, EArchiver&)
{
    return -1;
}

int TArchiver::FindNext(archiver::ArchiveHandle, archiver::IndividualInfo*, EArchiver&)
{
    return -1;
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
